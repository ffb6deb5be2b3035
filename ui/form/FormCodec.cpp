#include "ui/form/FormCodec.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "ui/form/ByteIo.h"
#include "ui/form/Schema.h"

namespace qelvane {
namespace {

constexpr std::size_t kRecordReserved = 20;
constexpr std::uint32_t kFlagVisible = 1u << 0;
constexpr std::uint32_t kFlagDisable = 1u << 1;
constexpr std::uint32_t kFlagTabStop = 1u << 2;
constexpr std::uint32_t kKnownFlags = kFlagVisible | kFlagDisable | kFlagTabStop;
constexpr std::int32_t kNoRoutine = -1;  // as stored
constexpr std::uint64_t kU32Max = std::numeric_limits<std::uint32_t>::max();

bool IsRecordId(std::uint32_t id) { return (id & kKindMask) == kRecordKind; }

// ---- Encoding ----

bool EncodeRecord(const ComponentEntry& e, ByteWriter& w) {
    if (TypeOf(e.settings) != e.type) return false;
    // A kept block must read back as newer, or it would not survive decoding.
    if (!e.newerBlock.empty()) {
        auto version = BlockVersion(e.newerBlock);
        if (!version || *version <= OwnBlockVersion(e.type)) return false;
    }
    w.U32(static_cast<std::uint32_t>(e.type));
    w.Zeros(kRecordReserved);
    w.TerminatedText(e.name);
    w.TerminatedText(e.remark);
    w.U32(0);  // object slot
    w.I32(e.left);
    w.I32(e.top);
    w.I32(e.width);
    w.I32(e.height);
    w.U32(0);  // cursor slot
    w.U32(e.parent);

    if (!HoldsPages(e.type) && !e.pageList.empty()) return false;
    std::uint64_t children = 0;
    for (const auto& page : e.pageList) children += page.size() + 1;
    if (children > kU32Max) return false;
    w.U32(static_cast<std::uint32_t>(children));
    for (const auto& page : e.pageList) {
        for (std::uint32_t id : page) {
            if (id == 0) return false;  // would end the page early
            w.U32(id);
        }
        w.U32(0);
    }

    w.CountedBlock(e.cursor);
    w.TerminatedText(e.tag);
    w.U32(0);
    w.U32((e.visible ? kFlagVisible : 0) | (e.disable ? kFlagDisable : 0) |
          (e.tabStop ? kFlagTabStop : 0));
    w.I32(e.focusOrder);
    if (e.bindings.size() > kU32Max) return false;
    w.U32(static_cast<std::uint32_t>(e.bindings.size()));
    for (const EventBinding& b : e.bindings) {
        w.I32(b.event);
        w.I32(b.routineOffset);
    }
    w.Zeros(kRecordReserved);
    Bytes block = e.newerBlock.empty() ? WriteTypeSettings(e.settings) : e.newerBlock;
    if (block.empty()) return false;
    w.Raw(block);
    return w.Ok();
}

bool EncodeWindow(const WindowTemplate& win, ByteWriter& w) {
    w.U32(win.word0);
    w.U32(win.word1);
    w.CountedText(win.text0);
    w.CountedText(win.text1);

    std::vector<const ComponentEntry*> items;
    items.push_back(&win.self);
    for (const ComponentEntry& c : win.components) items.push_back(&c);

    std::vector<Bytes> records;
    std::uint64_t recordsSize = 0;
    for (const ComponentEntry* item : items) {
        ByteWriter rec;
        if (!EncodeRecord(*item, rec)) return false;
        if (rec.Size() > kU32Max) return false;
        recordsSize += 4 + rec.Size();
        records.push_back(rec.Take());
    }
    std::uint64_t dataLength = 8 * static_cast<std::uint64_t>(items.size()) + recordsSize;
    if (dataLength > kU32Max) return false;

    w.U32(static_cast<std::uint32_t>(items.size()));
    w.U32(static_cast<std::uint32_t>(dataLength));
    for (const ComponentEntry* item : items) w.U32(item->id);
    std::uint32_t offset = 0;
    for (const Bytes& rec : records) {
        w.U32(offset);
        offset += static_cast<std::uint32_t>(4 + rec.size());
    }
    for (const Bytes& rec : records) w.CountedBlock(rec);
    return w.Ok();
}

// ---- Decoding ----

class FormDecoder {
public:
    FormDecoder(std::span<const std::uint8_t> bytes, std::span<const Routine> routines,
                std::string* whyNot)
        : bytes_(bytes), routines_(routines), whyNot_(whyNot) {}

    bool Run(FormDescription& form);

private:
    bool Fail(const std::string& what, std::size_t offset) {
        if (whyNot_) *whyNot_ = what + " at offset " + std::to_string(offset);
        return false;
    }
    bool DecodeWindow(ByteReader& r, WindowTemplate& win);
    bool DecodeRecord(std::span<const std::uint8_t> record, std::size_t base, ComponentEntry& e);
    bool CheckWindow(const WindowTemplate& win, const std::vector<std::size_t>& recordAt);

    std::span<const std::uint8_t> bytes_;
    std::span<const Routine> routines_;
    std::string* whyNot_;
};

bool FormDecoder::Run(FormDescription& form) {
    ByteReader r(bytes_);
    std::uint32_t tableLength = r.U32();
    if (!r.Ok()) return Fail("window table length truncated", 0);
    if (tableLength == 0 || tableLength % 8 != 0)
        return Fail("window table length not a non-zero multiple of 8", 0);
    if (tableLength > r.Remaining()) return Fail("window table past the end", 0);

    std::set<std::uint32_t> windowIds;
    form.windows.resize(tableLength / 8);
    for (WindowTemplate& win : form.windows) {
        std::size_t at = r.Offset();
        win.id = r.U32();
        if (!IsWindowId(win.id)) return Fail("not a window identifier", at);
        if (!windowIds.insert(win.id).second) return Fail("duplicate window identifier", at);
        if (r.U32() != 0) return Fail("window slot not zero", at + 4);
    }
    for (WindowTemplate& win : form.windows) {
        if (!DecodeWindow(r, win)) return false;
    }
    if (!r.AtEnd()) return Fail("trailing bytes", r.Offset());
    return true;
}

bool FormDecoder::DecodeWindow(ByteReader& r, WindowTemplate& win) {
    std::size_t start = r.Offset();
    win.word0 = r.U32();
    win.word1 = r.U32();
    win.text0 = r.CountedText();
    win.text1 = r.CountedText();
    if (!r.Ok()) return Fail("window header truncated", start);

    std::size_t tableAt = r.Offset();
    std::uint32_t count = r.U32();
    std::uint32_t dataLength = r.U32();
    if (!r.Ok()) return Fail("item table header truncated", tableAt);
    if (dataLength > r.Remaining()) return Fail("item data length past the end", tableAt + 4);
    std::size_t dataAt = r.Offset();
    ByteReader data(r.Take(dataLength));
    if (count == 0) return Fail("window without its own entry", tableAt);
    // Each item takes an identifier, an offset and at least a record length.
    if (static_cast<std::uint64_t>(count) * 12 > dataLength)
        return Fail("item count too large for the item data", tableAt);

    std::vector<std::uint32_t> ids(count), offsets(count);
    for (std::uint32_t& id : ids) id = data.U32();
    for (std::uint32_t& off : offsets) off = data.U32();
    std::size_t recordsAt = dataAt + data.Offset();

    std::vector<ComponentEntry> items(count);
    std::vector<std::size_t> recordAt(count);
    std::uint64_t expected = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::size_t offsetAt = dataAt + 4 * static_cast<std::size_t>(count) + 4 * static_cast<std::size_t>(i);
        if (offsets[i] != expected) return Fail("record offset does not match the records", offsetAt);
        std::size_t recAt = recordsAt + static_cast<std::size_t>(expected);
        recordAt[i] = recAt;
        std::uint32_t length = data.U32();
        if (!data.Ok()) return Fail("record length truncated", recAt);
        auto record = data.Take(length);
        if (!data.Ok()) return Fail("record past the item data", recAt);
        items[i].id = ids[i];
        if (!DecodeRecord(record, recAt + 4, items[i])) return false;
        expected += 4 + static_cast<std::uint64_t>(length);
    }
    if (!data.AtEnd()) return Fail("item data longer than its records", dataAt + data.Offset());

    win.self = std::move(items[0]);
    win.components.assign(std::make_move_iterator(items.begin() + 1),
                          std::make_move_iterator(items.end()));
    return CheckWindow(win, recordAt);
}

bool FormDecoder::DecodeRecord(std::span<const std::uint8_t> record, std::size_t base,
                               ComponentEntry& e) {
    ByteReader r(record);
    auto at = [&] { return base + r.Offset(); };
    auto truncated = [&] { return Fail("record truncated", at()); };

    std::size_t fieldAt = at();
    e.type = static_cast<TypeCode>(r.U32());
    if (!r.Ok()) return truncated();
    if (!IsKnownType(e.type)) return Fail("unknown type code", fieldAt);
    fieldAt = at();
    if (!r.ZeroBytes(kRecordReserved)) return r.Ok() ? Fail("reserved bytes not zero", fieldAt) : truncated();

    fieldAt = at();
    e.name = r.TerminatedText();
    e.remark = r.TerminatedText();
    if (!r.Ok()) return truncated();
    if (!IsGbkText(e.name) || !IsGbkText(e.remark)) return Fail("name or remark not GBK", fieldAt);

    fieldAt = at();
    if (r.U32() != 0 && r.Ok()) return Fail("object slot not zero", fieldAt);
    e.left = r.I32();
    e.top = r.I32();
    e.width = r.I32();
    e.height = r.I32();
    fieldAt = at();
    if (r.U32() != 0 && r.Ok()) return Fail("cursor slot not zero", fieldAt);
    e.parent = r.U32();

    fieldAt = at();
    std::uint32_t children = r.U32();
    if (!r.Ok()) return truncated();
    if (children > r.Remaining() / 4) return Fail("child count past the record", fieldAt);
    if (!HoldsPages(e.type) && children != 0) return Fail("child list on a type other than Tab", fieldAt);
    if (HoldsPages(e.type)) {
        if (children == 0) return Fail("Tab without a page list", fieldAt);
        e.pageList.assign(1, {});
        std::uint32_t id = 0;
        for (std::uint32_t i = 0; i < children; ++i) {
            id = r.U32();
            if (id != 0) {
                e.pageList.back().push_back(id);
            } else if (i + 1 < children) {
                e.pageList.emplace_back();
            }
        }
        // The list ends with the zero that closes its last page.
        if (id != 0) return Fail("page list not ended by 0", at() - 4);
    }

    e.cursor = r.CountedBlock();
    if (!r.Ok()) return truncated();
    fieldAt = at();
    e.tag = r.TerminatedText();
    if (!r.Ok()) return truncated();
    if (!IsGbkText(e.tag)) return Fail("tag not GBK", fieldAt);
    fieldAt = at();
    if (!r.ZeroBytes(4)) return r.Ok() ? Fail("reserved bytes not zero", fieldAt) : truncated();

    fieldAt = at();
    std::uint32_t flags = r.U32();
    if (!r.Ok()) return truncated();
    if (flags & ~kKnownFlags) return Fail("unknown flag bits", fieldAt);
    e.visible = (flags & kFlagVisible) != 0;
    e.disable = (flags & kFlagDisable) != 0;
    e.tabStop = (flags & kFlagTabStop) != 0;
    e.focusOrder = r.I32();

    fieldAt = at();
    std::uint32_t events = r.U32();
    if (!r.Ok()) return truncated();
    if (events > r.Remaining() / 8) return Fail("event count past the record", fieldAt);
    std::set<std::int32_t> seen;
    e.bindings.resize(events);
    for (EventBinding& b : e.bindings) {
        fieldAt = at();
        b.event = r.I32();
        b.routineOffset = r.I32();
        if (!seen.insert(b.event).second) return Fail("event bound twice", fieldAt);
        if (b.routineOffset == kNoRoutine) continue;
        if (b.routineOffset < 0 || static_cast<std::size_t>(b.routineOffset) >= routines_.size())
            return Fail("unknown routine offset", fieldAt + 4);
        b.routine = routines_[static_cast<std::size_t>(b.routineOffset)];
    }

    fieldAt = at();
    if (!r.ZeroBytes(kRecordReserved)) return r.Ok() ? Fail("reserved bytes not zero", fieldAt) : truncated();

    fieldAt = at();
    auto block = record.subspan(r.Offset());
    // An older or empty block reads over the defaults; it is written back at
    // the type's own version. A newer one is kept for the window layer to refuse.
    if (auto version = BlockVersion(block); version && *version > OwnBlockVersion(e.type)) {
        e.newerBlock.assign(block.begin(), block.end());
        block = {};
    }
    auto settings = ReadTypeSettings(e.type, block);
    if (!settings) return Fail("property block malformed", fieldAt);
    e.settings = std::move(*settings);
    return true;
}

bool FormDecoder::CheckWindow(const WindowTemplate& win, const std::vector<std::size_t>& recordAt) {
    // Names the item (0 = the window's own entry) and where its record starts.
    auto fail = [&](const char* what, std::size_t item) {
        return Fail(std::string(what) + " (item " + std::to_string(item) + ")", recordAt[item]);
    };
    const ComponentEntry& self = win.self;
    if (self.id != kOwnRecordId) return fail("item 0 is not the window's own entry", 0);
    if (self.type != TypeCode::Window) return fail("window's own entry not of type window", 0);
    if (self.parent != 0) return fail("window's own entry has a parent", 0);

    const auto& comps = win.components;
    std::map<std::uint32_t, const ComponentEntry*> byId;
    std::set<Text> names;
    for (std::size_t i = 0; i < comps.size(); ++i) {
        const ComponentEntry& c = comps[i];
        if (c.type == TypeCode::Window) return fail("component of type window", i + 1);
        if (!IsRecordId(c.id) || c.id == kOwnRecordId) return fail("not a component identifier", i + 1);
        if (!byId.emplace(c.id, &c).second) return fail("duplicate item identifier", i + 1);
        if (!names.insert(c.name).second) return fail("duplicate instance name", i + 1);
    }

    for (std::size_t i = 0; i < comps.size(); ++i) {
        const ComponentEntry& c = comps[i];
        if (c.parent == 0) continue;
        if (!byId.count(c.parent) || c.parent == c.id) return fail("parent names no other component", i + 1);
    }
    for (std::size_t i = 0; i < comps.size(); ++i) {
        // Walk up: a chain longer than the component count is a cycle.
        std::uint32_t up = comps[i].parent;
        for (std::size_t steps = 0; up != 0; ++steps) {
            if (steps > comps.size()) return fail("parent chain forms a cycle", i + 1);
            up = byId.find(up)->second->parent;
        }
    }

    for (std::size_t i = 0; i < comps.size(); ++i) {
        const ComponentEntry& tab = comps[i];
        if (!HoldsPages(tab.type)) continue;
        const auto* props = std::get_if<TabProps>(&tab.settings);
        if (!props || tab.pageList.size() != props->pageCaptions.size())
            return fail("page lists do not match the pages", i + 1);
        std::set<std::uint32_t> listed;
        for (const auto& page : tab.pageList) {
            for (std::uint32_t id : page) {
                auto it = byId.find(id);
                if (it == byId.end() || it->second->parent != tab.id)
                    return fail("page list names no child of the Tab", i + 1);
                if (!listed.insert(id).second) return fail("component listed twice in page lists", i + 1);
            }
        }
        auto children = std::count_if(comps.begin(), comps.end(),
                                      [&](const ComponentEntry& c) { return c.parent == tab.id; });
        if (static_cast<std::size_t>(children) != listed.size())
            return fail("child of a Tab missing from its page lists", i + 1);
    }
    return true;
}

}  // namespace

Bytes EncodeForm(const FormDescription& form) {
    if (8 * static_cast<std::uint64_t>(form.windows.size()) > kU32Max) return {};
    ByteWriter w;
    w.U32(static_cast<std::uint32_t>(8 * form.windows.size()));
    for (const WindowTemplate& win : form.windows) {
        w.U32(win.id);
        w.U32(0);  // filled at run time
    }
    for (const WindowTemplate& win : form.windows) {
        if (!EncodeWindow(win, w)) return {};
    }
    if (!w.Ok()) return {};
    return w.Take();
}

std::optional<FormDescription> DecodeForm(std::span<const std::uint8_t> bytes,
                                          std::span<const Routine> routines, std::string* whyNot) {
    FormDescription form;
    if (!FormDecoder(bytes, routines, whyNot).Run(form)) return std::nullopt;
    return form;
}

bool IsGbkText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto b = static_cast<std::uint8_t>(text[i]);
        if (b == 0 || b == 0xFF) return false;
        if (b <= 0x80) continue;  // ASCII, and 0x80 (the euro sign in code page 936)
        if (i + 1 == text.size()) return false;
        auto t = static_cast<std::uint8_t>(text[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
    }
    return true;
}

}  // namespace qelvane

#include "tolvane/catalogue.h"

#include <climits>
#include <cstdint>
#include <stdexcept>

#include "common/qxcommon.h"
#include "platform/files.h"
#include "ui/controls.h"

namespace tolvane {

void ChangeFlags::Mark(ChangeClass c) {
  switch (c) {
    case ChangeClass::None: break;
    case ChangeClass::NeedLogoff: needLogoff = true; break;
    case ChangeClass::NeedRestart: needRestart = true; break;
    case ChangeClass::IconChanged: iconChanged = true; break;
  }
}

Row::Row(std::string control, ChangeClass cls, std::vector<FileKey> file)
    : control_(std::move(control)), class_(cls), file_(std::move(file)) {}

void Row::Write(RowContext& ctx) {
  Store(ctx);
  if (class_ != ChangeClass::None && Changed()) ctx.flags.Mark(class_);
}

namespace {

std::string NameOr(const std::string& control, const std::string& ref) { return control.empty() ? ref : control; }

// Rows of one check box share their state, loaded value and standard.
template <class Def>
class CheckRow : public Row {
 public:
  explicit CheckRow(Def def) : Row(NameOr(def.control, def.check.name), def.cls, def.file), s_(std::move(def)) {}
  void Standard(RowContext&) override { s_.check.set(s_.standard); }
  Loaded State() const override { return s_.check.get(); }

 protected:
  void Tick(bool ticked) {
    s_.check.set(ticked);
    TakeLoaded();
  }
  Def s_;
};

class DwordFlagRow : public CheckRow<DwordFlag> {
 public:
  using CheckRow::CheckRow;
  void Read(RowContext& ctx) override {
    Tick(ctx.qx.ReadRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.absent) == s_.on);
  }

 protected:
  void Store(RowContext& ctx) override {
    if (s_.check.get())
      ctx.qx.WriteRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.on);
    else if (s_.deleteWhenOff)
      ctx.qx.DeleteRegValue(s_.at.root, s_.at.key(ctx), s_.at.name(ctx));
    else
      ctx.qx.WriteRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.off);
  }
};

class StringFlagRow : public CheckRow<StringFlag> {
 public:
  using CheckRow::CheckRow;
  void Read(RowContext& ctx) override {
    Tick(ctx.qx.ReadRegString(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.absent) == s_.on);
  }

 protected:
  void Store(RowContext& ctx) override {
    ctx.qx.WriteRegString(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.check.get() ? s_.on : s_.off);
  }
};

class BinaryFlagRow : public CheckRow<BinaryFlag> {
 public:
  using CheckRow::CheckRow;
  void Read(RowContext& ctx) override {
    Tick(ctx.qx.ReadRegBinary(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.absent) == s_.on);
  }

 protected:
  void Store(RowContext& ctx) override {
    ctx.qx.WriteRegBinary(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.check.get() ? s_.on : s_.off);
  }
};

class KeyPresenceRow : public CheckRow<KeyPresence> {
 public:
  using CheckRow::CheckRow;
  void Read(RowContext& ctx) override {
    Tick(ctx.qx.RegKeyExists(s_.root, s_.key(ctx)) == s_.tickedWhenPresent);
  }

 protected:
  void Store(RowContext& ctx) override {
    if (s_.check.get() == s_.tickedWhenPresent)
      ctx.qx.WriteRegString(s_.root, s_.key(ctx), "", s_.text(ctx));
    else
      ctx.qx.DeleteRegKey(s_.root, s_.key(ctx));
  }
};

class FolderPresenceRow : public CheckRow<FolderPresence> {
 public:
  using CheckRow::CheckRow;
  void Read(RowContext& ctx) override { Tick(ctx.files.FolderExists(s_.path(ctx))); }

 protected:
  void Store(RowContext& ctx) override {
    // A folder that already exists, is missing or holds files stays as it is.
    if (s_.check.get())
      ctx.files.MakeFolder(s_.path(ctx));
    else
      ctx.files.RemoveFolder(s_.path(ctx));
  }
};

class TextRow : public Row {
 public:
  explicit TextRow(Text def) : Row(NameOr(def.control, def.edit.name), def.cls, def.file), s_(std::move(def)) {}
  void Read(RowContext& ctx) override {
    s_.edit.set(ctx.qx.ReadRegString(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.absent(ctx)));
    TakeLoaded();
  }
  void Standard(RowContext& ctx) override { s_.edit.set(s_.standard(ctx)); }
  Loaded State() const override { return s_.edit.get(); }

 protected:
  void Store(RowContext& ctx) override {
    ctx.qx.WriteRegString(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.edit.get());
  }

 private:
  Text s_;
};

class UpDownDwordRow : public Row {
 public:
  explicit UpDownDwordRow(UpDownDword def)
      : Row(NameOr(def.control, def.position.name), def.cls, def.file), s_(std::move(def)) {}
  void Read(RowContext& ctx) override {
    s_.position.set(ctx.qx.ReadRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.absent));
    TakeLoaded();
  }
  void Standard(RowContext&) override { s_.position.set(s_.standard); }
  Loaded State() const override { return s_.position.get(); }

 protected:
  void Store(RowContext& ctx) override {
    ctx.qx.WriteRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.position.get());
  }

 private:
  UpDownDword s_;
};

class NumericWithDefaultRow : public Row {
 public:
  explicit NumericWithDefaultRow(NumericWithDefault def)
      : Row(NameOr(def.control, def.number.name), def.cls, def.file), s_(std::move(def)) {}
  void Read(RowContext& ctx) override {
    int32_t n = ctx.qx.ReadRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.defaultNumber);
    s_.number.set(n);
    s_.isDefault.set(n == s_.defaultNumber);
    TakeLoaded();
  }
  void Standard(RowContext&) override {
    s_.number.set(s_.defaultNumber);
    s_.isDefault.set(true);
  }
  // The box and the number in one comparable text.
  Loaded State() const override {
    return std::string(s_.isDefault.get() ? "1:" : "0:") + std::to_string(s_.number.get());
  }

 protected:
  void Store(RowContext& ctx) override {
    if (s_.isDefault.get())
      ctx.qx.DeleteRegValue(s_.at.root, s_.at.key(ctx), s_.at.name(ctx));
    else
      ctx.qx.WriteRegInteger(s_.at.root, s_.at.key(ctx), s_.at.name(ctx), s_.number.get());
  }

 private:
  NumericWithDefault s_;
};

class CustomRow : public Row {
 public:
  explicit CustomRow(Custom def) : Row(def.control, def.cls, def.file), s_(std::move(def)) {}
  void Read(RowContext& ctx) override {
    Loaded kept = s_.read(ctx);
    if (std::holds_alternative<std::monostate>(kept))
      TakeLoaded();
    else
      SetLoaded(std::move(kept));
  }
  void Standard(RowContext& ctx) override { s_.standard(ctx); }
  Loaded State() const override { return s_.state ? s_.state() : Loaded{}; }
  std::optional<Loaded> FileGet(size_t i) const override {
    if (!s_.fileGet) return std::nullopt;
    return s_.fileGet(i);
  }
  bool FileSet(size_t i, const Loaded& v) override {
    if (!s_.fileSet) return false;
    s_.fileSet(i, v);
    return true;
  }
  void FileWriteList(size_t i, FileListOut& out) const override {
    if (s_.fileWriteList) s_.fileWriteList(i, out);
  }
  void FileReadList(size_t i, FileListIn& in) override {
    if (s_.fileReadList) s_.fileReadList(i, in);
  }

 protected:
  void Store(RowContext& ctx) override { s_.write(ctx); }

 private:
  Custom s_;
};

}  // namespace

std::optional<int32_t> FileInteger(const std::string& text) {
  auto digit = [](char c, int base) -> int {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    return d < base ? d : -1;
  };
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return std::nullopt;
    uint32_t n = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      int d = digit(text[i], 16);
      if (d < 0) return std::nullopt;
      n = n * 16 + static_cast<uint32_t>(d);
    }
    return static_cast<int32_t>(n);
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  int64_t n = 0;
  for (; i < text.size(); ++i) {
    int d = digit(text[i], 10);
    if (d < 0) return std::nullopt;
    n = n * 10 + d;
    if (n > int64_t{1} << 31) return std::nullopt;
  }
  if (negative) n = -n;
  if (n < INT32_MIN || n > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(n);
}

std::string FileListKey(const std::string& list, size_t n) {
  return list + std::to_string(n) + (!list.empty() && list.back() == '(' ? ")" : "");
}

bool AsBool(const Loaded& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto* n = std::get_if<int32_t>(&v)) return *n != 0;
  if (auto* t = std::get_if<std::string>(&v)) return FileInteger(*t).value_or(0) != 0;
  return false;
}
int32_t AsInt(const Loaded& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto* n = std::get_if<int32_t>(&v)) return *n;
  if (auto* t = std::get_if<std::string>(&v)) return FileInteger(*t).value_or(0);
  return 0;
}
std::string AsText(const Loaded& v) {
  if (auto* b = std::get_if<bool>(&v)) return *b ? "1" : "0";
  if (auto* n = std::get_if<int32_t>(&v)) return std::to_string(*n);
  if (auto* t = std::get_if<std::string>(&v)) return *t;
  return "";
}

CheckRef Of(ui::CheckBox& box) {
  return {box.Name(), [&box] { return box.Checked(); }, [&box](bool v) { box.SetChecked(v); }};
}
TextRef Of(ui::Edit& edit) {
  return {edit.Name(), [&edit] { return edit.Text(); }, [&edit](const std::string& v) { edit.SetText(v); }};
}
IntRef Of(ui::UpDown& upDown) {
  return {upDown.Name(), [&upDown] { return int32_t{upDown.Position()}; },
          [&upDown](int32_t v) { upDown.SetPosition(v); }};
}
IntRef Of(ui::TrackBar& trackBar) {
  return {trackBar.Name(), [&trackBar] { return int32_t{trackBar.Position()}; },
          [&trackBar](int32_t v) { trackBar.SetPosition(v); }};
}

Row& Catalogue::Keep(std::unique_ptr<Row> row) {
  if (Find(row->Control())) throw std::logic_error("two rows for control " + row->Control());
  rows_.push_back(std::move(row));
  return *rows_.back();
}

Row& Catalogue::Add(DwordFlag def) { return Keep(std::make_unique<DwordFlagRow>(std::move(def))); }
Row& Catalogue::Add(StringFlag def) { return Keep(std::make_unique<StringFlagRow>(std::move(def))); }
Row& Catalogue::Add(BinaryFlag def) { return Keep(std::make_unique<BinaryFlagRow>(std::move(def))); }
Row& Catalogue::Add(KeyPresence def) { return Keep(std::make_unique<KeyPresenceRow>(std::move(def))); }
Row& Catalogue::Add(FolderPresence def) { return Keep(std::make_unique<FolderPresenceRow>(std::move(def))); }
Row& Catalogue::Add(Text def) { return Keep(std::make_unique<TextRow>(std::move(def))); }
Row& Catalogue::Add(UpDownDword def) { return Keep(std::make_unique<UpDownDwordRow>(std::move(def))); }
Row& Catalogue::Add(NumericWithDefault def) {
  return Keep(std::make_unique<NumericWithDefaultRow>(std::move(def)));
}
Row& Catalogue::Add(Custom def) { return Keep(std::make_unique<CustomRow>(std::move(def))); }

Row* Catalogue::Find(const std::string& control) const {
  for (const auto& row : rows_)
    if (row->Control() == control) return row.get();
  return nullptr;
}

Order Catalogue::Rows(std::initializer_list<const char*> controls) const {
  Order order;
  for (const char* name : controls) {
    Row* row = Find(name);
    if (!row) throw std::logic_error(std::string("no catalogue row for control ") + name);
    order.push_back(row);
  }
  return order;
}

void Catalogue::TakeLoaded() {
  for (const auto& row : rows_) row->TakeLoaded();
}

void ReadRows(const Order& order, RowContext& ctx) {
  for (Row* row : order) row->Read(ctx);
}
void WriteRows(const Order& order, RowContext& ctx) {
  for (Row* row : order) row->Write(ctx);
}
void StandardRows(const Order& order, RowContext& ctx) {
  for (Row* row : order) row->Standard(ctx);
}

}  // namespace tolvane

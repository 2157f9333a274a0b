// The settings catalogue: every setting of the settings tool is one row that
// knows its control, where the setting lives, its value when absent, its
// standard value, its change class and its place in the settings file. A row
// reads the setting into its control (and keeps the loaded value), writes the
// control back (and marks its change class when the state differs from the
// loaded value), puts the standard value into the control, and takes the
// loaded value again after an apply.
//
// Rows are owned by a Catalogue and run in explicit orders: the start-up
// reads, each apply step and the standard values run their own lists of rows,
// because the orders differ and setting a control runs its handlers.
#pragma once
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

class TQXCommon;
namespace ui {
class CheckBox;
class Edit;
class UpDown;
class TrackBar;
}  // namespace ui
namespace port {
class Files;
}

namespace tolvane {

enum class ChangeClass { None, NeedLogoff, NeedRestart, IconChanged };

// The change-class flags of the main window.
struct ChangeFlags {
  bool iconChanged = false;
  bool needLogoff = false;
  bool needRestart = false;
  void Mark(ChangeClass c);
  void Clear() { iconChanged = needLogoff = needRestart = false; }
};

// What a row reads and writes through.
struct RowContext {
  TQXCommon& qx;
  port::Files& files;
  ChangeFlags& flags;
};

// A text fixed in the table, or computed each time the row runs (a name that
// depends on the system language, a path made at start, another control's
// text).
class Value {
 public:
  Value() = default;
  Value(const char* text) : fixed_(text) {}
  Value(std::string text) : fixed_(std::move(text)) {}
  template <class F>
    requires std::is_invocable_r_v<std::string, F, const RowContext&>
  Value(F fn) : fn_(std::move(fn)) {}
  std::string operator()(const RowContext& ctx) const { return fn_ ? fn_(ctx) : fixed_; }

 private:
  std::string fixed_;
  std::function<std::string(const RowContext&)> fn_;
};

// Access to a control's state, with the control's name. Setting one from code
// runs its handler when the state changes, as a user's change does.
struct CheckRef {
  std::string name;
  std::function<bool()> get;
  std::function<void(bool)> set;
};
struct TextRef {
  std::string name;
  std::function<std::string()> get;
  std::function<void(const std::string&)> set;
};
struct IntRef {
  std::string name;
  std::function<int32_t()> get;
  std::function<void(int32_t)> set;
};
CheckRef Of(ui::CheckBox& box);
TextRef Of(ui::Edit& edit);
IntRef Of(ui::UpDown& upDown);
IntRef Of(ui::TrackBar& trackBar);

// Where a registry setting lives. Root is a TQXCommon root text ("HKCU").
struct RegPlace {
  std::string root;
  Value key;
  Value name;  // empty: the key's default value
};

// The row's key in the settings file. Boolean and Integer keys are read as
// integers (FileInteger); an `absent` that is no integer (empty) leaves the
// control as it is when the key is missing; "%WinDir%" in `absent` stands for
// the Windows folder. A List key names numbered keys
// ("FileName" for FileName0, FileName1 ...; "MTU(" for MTU(0) ...) that the
// row writes and reads itself (FileWriteList, FileReadList); a saved list is
// exactly the list: numbered keys of that name past its end are removed.
enum class FileForm { None, Boolean, Integer, Text, IconLocation, List };
struct FileKey {
  std::string section;
  std::string key;
  FileForm form = FileForm::None;
  std::string absent;  // the value taken when the key is missing from the file
};

// A settings-file integer: signed decimal, or "0x" / "0X" followed by
// hexadecimal digits (at most 8); nothing else, and nothing beyond 32 bits.
std::optional<int32_t> FileInteger(const std::string& text);
// The name of entry n of a list key: "FileName" + n, or "MTU(" + n + ")".
std::string FileListKey(const std::string& list, size_t n);

// What a row's list writes (keys in order) and reads (nothing: absent).
class FileListOut {
 public:
  virtual ~FileListOut() = default;
  virtual void Put(const std::string& key, const std::string& text) = 0;
};
class FileListIn {
 public:
  virtual ~FileListIn() = default;
  virtual std::optional<std::string> Get(const std::string& key) = 0;
};

// A loaded value: what the control showed after the start-up read or the last
// apply. Rows without a change class keep one too; it is simply never asked.
using Loaded = std::variant<std::monostate, bool, int32_t, std::string>;

class Row {
 public:
  Row(std::string control, ChangeClass cls, std::vector<FileKey> file);
  virtual ~Row() = default;
  Row(const Row&) = delete;
  Row& operator=(const Row&) = delete;

  const std::string& Control() const { return control_; }
  ChangeClass Class() const { return class_; }
  const std::vector<FileKey>& File() const { return file_; }
  const Loaded& LoadedValue() const { return loaded_; }

  // The setting into its control; the loaded value is taken.
  virtual void Read(RowContext& ctx) = 0;
  // The control to the system; the change class is marked when the state
  // differs from the loaded value.
  void Write(RowContext& ctx);
  virtual void Standard(RowContext& ctx) = 0;
  // The state that the change class compares (and the loaded value keeps).
  virtual Loaded State() const = 0;
  void TakeLoaded() { loaded_ = State(); }
  bool Changed() const { return State() != loaded_; }

  // The settings file. File key i is carried by the control named after the
  // row unless the row answers for it here: its value (bool, int32_t or text
  // by the key's form), and the value read into its control or field through
  // the ordinary setter. List keys write and read their own numbered keys.
  virtual std::optional<Loaded> FileGet(size_t) const { return std::nullopt; }
  virtual bool FileSet(size_t, const Loaded&) { return false; }
  virtual void FileWriteList(size_t, FileListOut&) const {}
  virtual void FileReadList(size_t, FileListIn&) {}

 protected:
  virtual void Store(RowContext& ctx) = 0;
  void SetLoaded(Loaded v) { loaded_ = std::move(v); }

 private:
  std::string control_;
  ChangeClass class_;
  std::vector<FileKey> file_;
  Loaded loaded_;
};

// --- Row kinds -------------------------------------------------------------
// A row is named after its control (the check box, the edit, the up-down);
// `control` names it otherwise (a group of controls, a custom row).

// A DWORD whose value `on` ticks the box. The box writes `on` ticked and `off`
// unticked (or deletes the value unticked, with deleteWhenOff). An inverted
// setting, ticked when the value is 0, has on = 0 and off = the other value.
struct DwordFlag {
  std::string control{};
  CheckRef check{};
  RegPlace at{};
  int32_t on = 1, off = 0, absent = 0;
  bool deleteWhenOff = false;
  bool standard = false;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A string value whose text `on` ticks the box.
struct StringFlag {
  std::string control{};
  CheckRef check{};
  RegPlace at{};
  std::string on = "1", off = "0", absent{};
  bool standard = false;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A 4-byte REG_BINARY read as a little-endian integer.
struct BinaryFlag {
  std::string control{};
  CheckRef check{};
  RegPlace at{};
  int32_t on = 1, off = 0, absent = 0;
  bool standard = false;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A key whose presence (or, with tickedWhenPresent false, absence) is the
// tick. Where the key should be, its default value is written with `text`,
// which creates it; where it should not, it is deleted with its subkeys.
struct KeyPresence {
  std::string control{};
  CheckRef check{};
  std::string root{};
  Value key{};
  bool tickedWhenPresent = true;
  Value text{};
  bool standard = false;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A folder whose presence is the tick; written by making or removing it, and
// a failure of either is silent (the box shows the real state next time).
struct FolderPresence {
  std::string control{};
  CheckRef check{};
  Value path{};
  bool standard = false;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A string value shown in an edit.
struct Text {
  std::string control{};
  TextRef edit{};
  RegPlace at{};
  Value absent{};
  Value standard{};
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A DWORD shown as an up-down position.
struct UpDownDword {
  std::string control{};
  IntRef position{};
  RegPlace at{};
  int32_t absent = 0;
  int32_t standard = 0;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A DWORD number with a "default" box: the box is ticked when the number read
// is the default; ticked, the value is deleted; unticked, the number is
// written. The change class compares both the box and the number.
struct NumericWithDefault {
  std::string control{};
  CheckRef isDefault{};
  IntRef number{};
  RegPlace at{};
  int32_t defaultNumber = 0;
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
};

// A setting that fits no kind: its own read, write and standard functions,
// and the state that its change class compares. `read` returns the loaded
// value to keep, or nothing to take the state after reading.
struct Custom {
  std::string control{};
  std::function<Loaded(RowContext&)> read{};
  std::function<void(RowContext&)> write{};
  std::function<void(RowContext&)> standard{};
  std::function<Loaded()> state{};
  ChangeClass cls = ChangeClass::None;
  std::vector<FileKey> file{};
  // The settings file, where a key is not carried by the row's own control
  // (see Row::FileGet): by the index of the key in `file`.
  std::function<Loaded(size_t)> fileGet{};
  std::function<void(size_t, const Loaded&)> fileSet{};
  std::function<void(size_t, FileListOut&)> fileWriteList{};
  std::function<void(size_t, FileListIn&)> fileReadList{};
};

// A file value as the control wants it (a number as a box: not 0 ticks).
bool AsBool(const Loaded& v);
int32_t AsInt(const Loaded& v);
std::string AsText(const Loaded& v);

using Order = std::vector<Row*>;

class Catalogue {
 public:
  Row& Add(DwordFlag def);
  Row& Add(StringFlag def);
  Row& Add(BinaryFlag def);
  Row& Add(KeyPresence def);
  Row& Add(FolderPresence def);
  Row& Add(Text def);
  Row& Add(UpDownDword def);
  Row& Add(NumericWithDefault def);
  Row& Add(Custom def);
  // A page's own row kind (the icon locations).
  Row& Add(std::unique_ptr<Row> row) { return Keep(std::move(row)); }

  // The row of a control; nullptr when there is none.
  Row* Find(const std::string& control) const;
  // An order of rows by control name; a name without a row is a fault of the
  // table and throws std::logic_error.
  Order Rows(std::initializer_list<const char*> controls) const;
  const std::vector<std::unique_ptr<Row>>& All() const { return rows_; }

  // Apply step 25: every loaded value := the control's state now.
  void TakeLoaded();

 private:
  Row& Keep(std::unique_ptr<Row> row);
  std::vector<std::unique_ptr<Row>> rows_;
};

void ReadRows(const Order& order, RowContext& ctx);
void WriteRows(const Order& order, RowContext& ctx);
void StandardRows(const Order& order, RowContext& ctx);

}  // namespace tolvane

// The benchmark's recorder: runs the settings tool's start-up and an apply
// with one box ticked on its window model (no windows), on the real registry,
// system, files and profile functions of the machine, and writes what the
// program did to the system, in order, for the same-work baseline to do
// again without the suite's layers:
//   - every registry call (open, create, close, query, set, delete, listing);
//   - every icon the program extracts or counts;
//   - each form shown besides the main window (the splash, the progress
//     form): its frame, its controls and how often its progress bar moved;
//   - the snapshot settings file as the apply leaves it, the shell
//     notification and the question.
// The main window's own tree is taken from the running program (launcher
// tree), since only the renderer knows its windows.
//   record PROGRAM-PATH TRACE-FILE
// PROGRAM-PATH is where the settings tool lies (its folder receives the
// snapshot). A line of the trace is tab-separated; texts are escaped as the
// launcher escapes them.
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "trace_field.h"
#include "platform/memory/memory_dialogs.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shutdown.h"
#include "platform/win32/win32_ports.h"
#include "tolvane/main_form.h"
#include "tolvane/pages.h"
#include "tolvane/settings_file.h"
#include "ui/controls.h"
#include "ui/ui.h"

namespace {

std::string Esc(const std::string& s) { return TraceField(s); }

std::string Hex(const std::vector<uint8_t>& data) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (uint8_t b : data) out += {digits[b >> 4], digits[b & 15]};
  return out;
}

struct Trace {
  std::string text;
  void Line(std::initializer_list<std::string> fields) {
    bool first = true;
    for (const std::string& f : fields) {
      if (!first) text += '\t';
      text += f;
      first = false;
    }
    text += '\n';
  }
};

const char* RootName(port::Root root) {
  switch (root) {
    case port::Root::HKCR: return "HKCR";
    case port::Root::HKCU: return "HKCU";
    case port::Root::HKLM: return "HKLM";
    case port::Root::HKU: return "HKU";
  }
  return "?";
}

std::string Id(port::KeyHandle h) { return std::to_string(h); }

class RecordingRegistry : public port::Registry {
 public:
  RecordingRegistry(port::Registry& real, Trace& trace) : real_(real), t_(trace) {}
  port::KeyHandle Open(port::Root root, const std::string& path, uint32_t access) override {
    port::KeyHandle h = real_.Open(root, path, access);
    t_.Line({"open", RootName(root), Esc(path), std::to_string(access), Id(h)});
    return h;
  }
  port::KeyHandle Create(port::Root root, const std::string& path) override {
    port::KeyHandle h = real_.Create(root, path);
    t_.Line({"create", RootName(root), Esc(path), Id(h)});
    return h;
  }
  void Close(port::KeyHandle key) override {
    if (key) t_.Line({"close", Id(key)});
    real_.Close(key);
  }
  std::optional<port::RegValue> Query(port::KeyHandle key, const std::string& name) override {
    if (key) t_.Line({"query", Id(key), Esc(name)});
    return real_.Query(key, name);
  }
  bool Set(port::KeyHandle key, const std::string& name, const port::RegValue& value) override {
    if (key) t_.Line({"set", Id(key), Esc(name), std::to_string(value.type), Hex(value.data)});
    return real_.Set(key, name, value);
  }
  bool DeleteValue(port::KeyHandle key, const std::string& name) override {
    if (key) t_.Line({"delvalue", Id(key), Esc(name)});
    return real_.DeleteValue(key, name);
  }
  bool DeleteKey(port::Root root, const std::string& path) override {
    t_.Line({"delkey", RootName(root), Esc(path)});
    return real_.DeleteKey(root, path);
  }
  std::vector<std::string> SubKeys(port::KeyHandle key) override {
    if (key) t_.Line({"subkeys", Id(key)});
    return real_.SubKeys(key);
  }
  std::vector<std::string> ValueNames(port::KeyHandle key) override {
    if (key) t_.Line({"values", Id(key)});
    return real_.ValueNames(key);
  }

 private:
  port::Registry& real_;
  Trace& t_;
};

class RecordingIcons : public port::Icons {
 public:
  RecordingIcons(port::Icons& real, Trace& trace) : real_(real), t_(trace) {}
  int Count(uintptr_t instance, const std::string& file) override {
    t_.Line({"iconcount", Esc(file)});
    return real_.Count(instance, file);
  }
  port::IconHandle Extract(uintptr_t instance, const std::string& file, int index) override {
    t_.Line({"icon", Esc(file), std::to_string(index)});
    return real_.Extract(instance, file, index);
  }
  void Destroy(port::IconHandle icon) override { real_.Destroy(icon); }
  port::IconHandle Copy(port::IconHandle icon) override { return real_.Copy(icon); }
  port::IconHandle LoadBitmapFile(const std::string& file) override {
    t_.Line({"bitmap", Esc(file)});
    return real_.LoadBitmapFile(file);
  }
  void DestroyBitmap(port::IconHandle bitmap) override { real_.DestroyBitmap(bitmap); }

 private:
  port::Icons& real_;
  Trace& t_;
};

class RecordingProfile : public port::Profile {
 public:
  RecordingProfile(port::Profile& real, Trace& trace) : real_(real), t_(trace) {}
  std::string Read(const std::string& path, const std::string& section, const std::string& key, const std::string& def,
                   size_t maxLength) override {
    t_.Line({"profread", Esc(path), Esc(section), Esc(key)});
    return real_.Read(path, section, key, def, maxLength);
  }
  bool Write(const std::string& path, const std::string& section, const std::string& key,
             const std::string& value) override {
    t_.Line({"profwrite", Esc(path), Esc(section), Esc(key), Esc(value)});
    return real_.Write(path, section, key, value);
  }
  bool Delete(const std::string& path, const std::string& section, const std::string& key) override {
    t_.Line({"profdelete", Esc(path), Esc(section), Esc(key)});
    return real_.Delete(path, section, key);
  }
  std::vector<std::string> KeyNames(const std::string& path, const std::string& section) override {
    t_.Line({"profkeys", Esc(path), Esc(section)});
    return real_.KeyNames(path, section);
  }
  bool Load(const std::string& path, std::string& text) override {
    t_.Line({"profload", Esc(path)});
    return real_.Load(path, text);
  }
  // The point where the snapshot's text goes to its file.
  bool Store(const std::string& path, const std::string& text) override {
    t_.Line({"profstore", Esc(path)});
    return real_.Store(path, text);
  }

 private:
  port::Profile& real_;
  Trace& t_;
};

// The settings tool's own path, wherever the recorder lies.
class ProgramSystem : public port::Win32System {
 public:
  explicit ProgramSystem(std::string path) : path_(std::move(path)) {}
  std::string ModulePath() override { return path_; }

 private:
  std::string path_;
};

// Writes down each move of a progress bar (a step or position that the
// renderer pushes to its window) where it happens among the other calls.
class BarMoves : public ui::Peer {
 public:
  explicit BarMoves(Trace& trace) : t_(trace) {}
  void Changed(ui::Control& c, ui::Prop what) override {
    if (what != ui::Prop::Position) return;
    ++moves;
    t_.Line({"move", c.OwnerForm()->Name(), c.Name(), std::to_string(static_cast<ui::ProgressBar&>(c).Position())});
  }
  int moves = 0;

 private:
  Trace& t_;
};

// Shows nothing; writes down each form shown besides the main one, with its
// controls, and watches its progress bars.
class RecordingHost : public ui::Host {
 public:
  explicit RecordingHost(Trace& trace) : t_(trace) {}
  void FormShown(ui::Form& form) override {
    if (&form == form.App().MainForm()) return;
    t_.Line({"form", form.Name(), std::to_string(static_cast<int>(form.Border)), std::to_string(form.BorderIcons),
             std::to_string(form.Left()), std::to_string(form.Top()), std::to_string(form.ClientWidth()),
             std::to_string(form.ClientHeight()), Esc(form.Caption()), FontOf(form)});
    for (auto& c : form.Children()) Controls(*c, 1);
    shown_.push_back(&form);
  }
  void FormHidden(ui::Form&) override {}
  void FormDestroyed(ui::Form& form) override {
    for (auto& [bar, moves] : bars_)
      if (bar->OwnerForm() == &form) {
        t_.Line({"moves", form.Name(), bar->Name(), std::to_string(moves->moves)});
        bar->SetPeer(nullptr);
      }
    std::erase_if(bars_, [&](auto& b) { return b.first->OwnerForm() == &form; });
    if (&form != form.App().MainForm()) t_.Line({"gone", form.Name()});
  }
  void ModalLoop(ui::Form&) override {}
  void ProcessMessages() override { t_.Line({"pump"}); }
  void Run() override {}
  void Terminated() override {}
  uintptr_t WindowHandle(const ui::Form*) override { return 0; }
  ui::Rect Screen() override {
    RECT r{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
  }

 private:
  static std::string FontOf(const ui::Control& c) {
    const ui::Font& f = c.EffectiveFont();
    return std::to_string(f.height) + "|" + (f.bold ? "700" : "400") + "|" + (f.italic ? "1" : "0") + "|" +
           std::to_string(f.charset) + "|" + Esc(f.name);
  }
  void Controls(ui::Control& c, int depth) {
    std::string extra;
    if (auto* p = dynamic_cast<ui::ProgressBar*>(&c)) {
      extra = std::to_string(p->Min()) + "|" + std::to_string(p->Max()) + "|" + std::to_string(p->Step) + "|" +
              (p->Smooth ? "1" : "0");
      auto moves = std::make_unique<BarMoves>(t_);
      c.SetPeer(moves.get());
      bars_.emplace_back(p, moves.get());
      peers_.push_back(std::move(moves));
    } else if (auto* l = dynamic_cast<ui::Label*>(&c)) {
      extra = std::to_string(static_cast<int>(l->TextAlignment));
    } else if (auto* pa = dynamic_cast<ui::Panel*>(&c)) {
      extra = std::to_string(static_cast<int>(pa->BevelOuter));
    }
    const ui::Rect& b = c.Bounds();
    t_.Line({"control", std::to_string(depth), std::to_string(static_cast<int>(c.GetKind())), c.Name(),
             std::to_string(b.left), std::to_string(b.top), std::to_string(b.width), std::to_string(b.height),
             Esc(c.Caption()), FontOf(c), extra});
    for (auto& ch : c.Children()) Controls(*ch, depth + 1);
  }

  Trace& t_;
  std::vector<ui::Form*> shown_;
  std::vector<std::pair<ui::ProgressBar*, BarMoves*>> bars_;
  std::vector<std::unique_ptr<BarMoves>> peers_;
};

std::string Utf8(const wchar_t* w) {
  int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, w, -1, s.data(), n, nullptr, nullptr);
  return s;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: record PROGRAM-PATH TRACE-FILE\n", stderr);
    return 2;
  }
  const std::string program = Utf8(argv[1]);
  Trace trace;
  port::Win32Ports real;
  RecordingRegistry registry(real.registry, trace);
  RecordingIcons icons(real.icons, trace);
  RecordingProfile profile(real.profile, trace);
  ProgramSystem system(program);
  port::MemoryDialogs dialogs;
  dialogs.Script(port::MbResult::No);
  port::MemoryShutdown shutdown;
  port::MemoryShell shell;
  port::Ports ports = real.ports;
  ports.registry = &registry;
  ports.icons = &icons;
  ports.profile = &profile;
  ports.system = &system;
  ports.dialogs = &dialogs;
  ports.shutdown = &shutdown;
  ports.shell = &shell;

  ui::Application app(ports);
  RecordingHost host(trace);
  app.SetHost(&host);
  LARGE_INTEGER freq, t0, t1, t2, t3;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  trace.Line({"phase", "start"});
  auto& main = app.CreateForm<tolvane::TfoMain>(tolvane::PagesFactory(tolvane::MakePages));
  app.Run();
  QueryPerformanceCounter(&t1);
  trace.Line({"phase", "shown"});
  if (app.IsTerminated()) {
    std::fputs("record: the settings tool did not start\n", stderr);
    return 1;
  }
  // The tabs of the page controls (a window of another process does not
  // give its tabs' texts).
  std::vector<ui::Control*> todo{&main};
  while (!todo.empty()) {
    ui::Control* c = todo.back();
    todo.pop_back();
    if (auto* pc = dynamic_cast<ui::PageControl*>(c)) {
      std::string captions;
      for (int i = 0; i < pc->PageCount(); ++i) captions += (i ? "\t" : "") + Esc(pc->Page(i).Caption());
      trace.Line({"tabs", pc->Name(), std::to_string(pc->ActivePageIndex()), captions});
    }
    for (auto& ch : c->Children()) todo.push_back(ch.get());
  }

  // The launcher's apply: the Desktop page, its box ticked, then apply.
  auto* sheet = dynamic_cast<ui::TabSheet*>(main.Find("tsDesktop"));
  auto* box = dynamic_cast<ui::CheckBox*>(main.Find("cbNoActiveDesktop"));
  if (!sheet || !box) {
    std::fputs("record: no Desktop page or box\n", stderr);
    return 1;
  }
  auto* pages = static_cast<ui::PageControl*>(sheet->Parent());
  int page = 0;
  while (page < pages->PageCount() && &pages->Page(page) != sheet) ++page;
  app.Dispatch(pages, [&] { pages->UserSelectPage(page); });
  app.Dispatch(box, [&] { box->UserClick(); });
  trace.Line({"phase", "apply"});
  dialogs.ClearCalls();
  QueryPerformanceCounter(&t2);
  app.Dispatch(&main.sbPlay, [&] { main.sbPlay.UserClick(); });
  QueryPerformanceCounter(&t3);
  // The roads on the window model and the real system, without windows (the
  // recording itself included).
  auto ms = [&](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    return std::to_string(static_cast<int>((b.QuadPart - a.QuadPart) * 1000 / freq.QuadPart));
  };
  std::fputs(("record: start-up " + ms(t0, t1) + " ms, apply " + ms(t2, t3) + " ms without windows\n").c_str(), stdout);
  const std::string snapshot = main.ProgramFolder + "\\" + tolvane::kSnapshotName;
  std::optional<std::string> bytes = ports.files->ReadAll(snapshot);
  const std::string content = bytes.value_or("");
  trace.Line({"snapshot", Esc(snapshot), Hex(std::vector<uint8_t>(content.begin(), content.end()))});
  for (const auto& n : shell.Notifications())
    trace.Line({"notify", std::to_string(n.event), std::to_string(n.flags)});
  for (const auto& c : dialogs.Calls())
    if (c.kind == port::MemoryDialogs::Kind::MessageBox)
      trace.Line({"question", Esc(c.text), Esc(c.caption), std::to_string(static_cast<int>(c.icon)),
                  std::to_string(static_cast<int>(c.buttons))});
  trace.Line({"phase", "end"});

  HANDLE f = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) {
    std::fputs("record: cannot write the trace\n", stderr);
    return 1;
  }
  DWORD written = 0;
  WriteFile(f, trace.text.data(), static_cast<DWORD>(trace.text.size()), &written, nullptr);
  CloseHandle(f);
  return written == trace.text.size() ? 0 : 1;
}

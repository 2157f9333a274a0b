#include "common/iconlist.h"

namespace {
// The program's own instance: the icon port takes 0 as "this program".
constexpr uintptr_t kInstance = 0;
}  // namespace

TfoIconList::TfoIconList(ui::Application& app, TQXCommon& qx, int32_t& selectedIconIndex)
    : ui::Form(app, "foIconList"), qx_(qx), selectedIconIndex_(selectedIconIndex) {
  Border = ui::BorderStyle::Single;
  BorderIcons = ui::biSystemMenu;
  SetClientSize(428, 347);
  Position = ui::FormPosition::ScreenCenter;

  lvIcon = &Add<ui::ListView>("lvIcon", {0, 0, 428, 281});
  lvIcon->SetAlign(ui::Align::Top);
  lvIcon->Style = ui::ViewStyle::Icon;
  lvIcon->LargeImages = &ilIcon;
  lvIcon->SetColor(ui::clWindow);
  lvIcon->OnClick = ui::Bind(this, &TfoIconList::lvIconClick);
  lvIcon->OnDblClick = ui::Bind(this, &TfoIconList::lvIconDblClick);

  txIconName = &Add<ui::StaticText>("txIconName", {8, 289, 365, 21});
  buOpenFile = &Add<ui::Button>("buOpenFile", {375, 289, 45, 21}, "参照", "...");
  buOpenFile->OnClick = ui::Bind(this, &TfoIconList::buOpenFileClick);

  buOK = &Add<ui::Button>("buOK", {240, 314, 85, 29}, "OK", "OK");
  buOK->Default = true;
  buOK->OnClick = ui::Bind(this, &TfoIconList::buOKClick);
  buCancel = &Add<ui::Button>("buCancel", {335, 314, 85, 29}, "ｷｬﾝｾﾙ", "Cancel");
  buCancel->Cancel = true;
  buCancel->ModalResult = ui::mrCancel;

  imWK = &Add<ui::Image>("imWK", {0, 400, 32, 32});
  imWK->SetVisible(false);

  OpenDialogIcon.Filter = "全てのファイル|*.*";
  OnShow = ui::Bind(this, &TfoIconList::FormShow);
}

void TfoIconList::FormShow() {
  buOK->SetEnabled(false);
  SubListIcons(txIconName->Caption());
}

void TfoIconList::lvIconClick() { buOK->SetEnabled(lvIcon->Selected() >= 0); }

void TfoIconList::buOKClick() {
  // Only with an item selected: there is nothing to take otherwise.
  if (lvIcon->Selected() < 0) return;
  selectedIconIndex_ = lvIcon->Selected();
  SetModalResult(ui::mrOk);
}

void TfoIconList::lvIconDblClick() {
  if (lvIcon->Selected() < 0) return;
  selectedIconIndex_ = lvIcon->Selected();
  SetModalResult(ui::mrOk);
}

void TfoIconList::buOpenFileClick() {
  OpenDialogIcon.Title = Caption();
  if (!OpenDialogIcon.Execute()) return;
  txIconName->SetCaption(OpenDialogIcon.FileName);
  buOK->SetEnabled(false);
  SubListIcons(OpenDialogIcon.FileName);
}

// Item i shows image i; an icon that cannot be extracted leaves an empty
// image in its place so that the two stay in step.
void TfoIconList::SubListIcons(const std::string& path) {
  ilIcon.Clear();
  lvIcon->Clear();
  int32_t n = qx_.GetIconCount(kInstance, path);
  for (int32_t i = 0; i < n; ++i) {
    lvIcon->AddItem(std::to_string(i), i);
    port::IconHandle h = qx_.GetIconHandle(kInstance, path + "," + std::to_string(i));
    if (h)
      imWK->SetIcon(h);
    else
      imWK->ClearPicture();
    ilIcon.AddIcon(imWK->GetPicture());
  }
}

std::string IconFolderOf(const std::string& path) {
  size_t i = path.find_last_of("\\:");
  if (i == std::string::npos) return {};
  if (i > 0 && path[i] == '\\' && path[i - 1] != '\\' && path[i - 1] != ':') return path.substr(0, i);
  return path.substr(0, i + 1);
}

bool SubIconList(TfoIconList& picker, const std::string& caption, ui::Image& image, std::string& heldLocation,
                 bool& changed, std::string& iconDir) {
  TQXCommon& qx = picker.QX();
  picker.SetCaption(caption);
  if (!qx.Japanese()) {
    picker.SwitchToEnglish();
    picker.OpenDialogIcon.Filter = "All Files | *.*";
  }
  qx.SplitIconLocation(heldLocation);
  picker.txIconName->SetCaption(qx.FileName());
  picker.OpenDialogIcon.InitialDir = iconDir;
  if (picker.ShowModal() != ui::mrOk) return false;
  heldLocation = picker.txIconName->Caption() + "," + std::to_string(picker.SelectedIconIndex());
  image.SetIcon(qx.GetIconHandle(kInstance, heldLocation));
  changed = true;
  iconDir = IconFolderOf(picker.txIconName->Caption());
  return true;
}

// The fonts of the test prefix as the programs see them: in English mode a
// backslash is drawn as a backslash (a Japanese font draws the yen sign of
// code page 932 there), and Japanese text in title bars and message boxes is
// drawn, not left as empty boxes. Runs once on a Japanese and once on an
// English system.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 64;

// The ink of one character drawn in this font: true where a pixel is dark.
std::vector<bool> Ink(LOGFONTW font, wchar_t c) {
  font.lfHeight = -40;
  font.lfQuality = NONANTIALIASED_QUALITY;
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HFONT f = CreateFontIndirectW(&font);
  HGDIOBJ oldFont = SelectObject(dc, f);
  RECT all{0, 0, kSize, kSize};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, 8, 4, &c, 1);
  GdiFlush();
  std::vector<bool> ink(kSize * kSize);
  const auto* px = static_cast<const DWORD*>(bits);
  for (int i = 0; i < kSize * kSize; ++i) ink[i] = (px[i] & 0xFF) < 0x80;
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(f);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return ink;
}

// A backslash runs from the top left to the bottom right: the upper half of
// its ink lies left of the middle. A yen sign is the same on both sides.
bool DrawsABackslash(const LOGFONTW& font) {
  std::vector<bool> ink = Ink(font, L'\\');
  int left = kSize, right = -1, top = kSize, bottom = -1;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x)
      if (ink[y * kSize + x]) left = std::min(left, x), right = std::max(right, x), top = std::min(top, y),
                              bottom = std::max(bottom, y);
  if (right < 0) return false;
  int middleX = (left + right) / 2, middleY = (top + bottom) / 2, upperLeft = 0, upperRight = 0;
  for (int y = top; y < middleY; ++y)
    for (int x = left; x <= right; ++x)
      if (ink[y * kSize + x]) ++(x < middleX ? upperLeft : upperRight);
  return upperLeft > 2 * upperRight;
}

// Japanese is drawn when a kanji shows other ink than a character no font has.
bool DrawsJapanese(const LOGFONTW& font) { return Ink(font, L'\x65E5') != Ink(font, L'\xE000'); }

// What a font resolves to: asked face, charset, chosen face (for messages).
std::string Resolved(const LOGFONTW& font) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT f = CreateFontIndirectW(&font);
  HGDIOBJ old = SelectObject(dc, f);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteObject(f);
  DeleteDC(dc);
  auto narrow = [](const wchar_t* w) {
    char buf[128] = {};
    WideCharToMultiByte(CP_UTF8, 0, w, -1, buf, sizeof buf, nullptr, nullptr);
    return std::string(buf);
  };
  return narrow(font.lfFaceName) + " (charset " + std::to_string(font.lfCharSet) + ") is " + narrow(face);
}

LOGFONTW Face(const wchar_t* name, BYTE charset) {
  LOGFONTW f{};
  wcscpy_s(f.lfFaceName, name);
  f.lfCharSet = charset;
  return f;
}

NONCLIENTMETRICSW Metrics() {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  return m;
}

bool EnglishSystem() { return GetSystemDefaultLCID() != 1041; }

TEST(Fonts, EnglishFacesDrawABackslashAndJapanese) {
  // The faces of English mode: "MS Sans Serif" for the forms, Arial for a few labels.
  for (const wchar_t* name : {L"MS Sans Serif", L"Arial"}) {
    EXPECT_TRUE(DrawsABackslash(Face(name, ANSI_CHARSET))) << Resolved(Face(name, ANSI_CHARSET)) << ": a yen sign at the backslash";
    EXPECT_TRUE(DrawsJapanese(Face(name, DEFAULT_CHARSET))) << Resolved(Face(name, DEFAULT_CHARSET));
  }
}

TEST(Fonts, TitleBarsAndMessageBoxesDrawJapanese) {
  NONCLIENTMETRICSW m = Metrics();
  EXPECT_TRUE(DrawsJapanese(m.lfCaptionFont)) << "title bars: " << Resolved(m.lfCaptionFont);
  EXPECT_TRUE(DrawsJapanese(m.lfMessageFont)) << "message boxes: " << Resolved(m.lfMessageFont);
  if (EnglishSystem()) {
    EXPECT_TRUE(DrawsABackslash(m.lfCaptionFont)) << Resolved(m.lfCaptionFont);
    EXPECT_TRUE(DrawsABackslash(m.lfMessageFont)) << Resolved(m.lfMessageFont);
  }
}

}  // namespace

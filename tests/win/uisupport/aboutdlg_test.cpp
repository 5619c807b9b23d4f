// The About box: its Korean texts come out of the resources as written.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/wide.h"
#include "resources/resource.h"
#include "tests/support/uidoubles.h"
#include "uisupport/aboutdlg.h"

namespace {

BOOL CALLBACK CollectTexts(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<std::string>*>(list)->push_back(Narrow(ModalWindowWatcher::Text(child)));
  return TRUE;
}

}  // namespace

TEST(AboutBox, ShowsNameVersionAndButtonInKorean) {
  CAboutDlg about;
  std::string caption;
  std::vector<std::string> texts;
  bool hasIcon = false;
  ModalWindowWatcher watcher([&](HWND hwnd) {
    caption = Narrow(ModalWindowWatcher::Text(hwnd));
    EnumChildWindows(hwnd, &CollectTexts, reinterpret_cast<LPARAM>(&texts));
    HWND picture = FindWindowExW(hwnd, nullptr, L"Static", nullptr);
    hasIcon = picture && SendMessageW(picture, STM_GETICON, 0, 0) != 0;
    return ModalWindowWatcher::Press(hwnd, IDOK);
  });
  EXPECT_EQ(about.DoModal(), IDOK);
  EXPECT_EQ(caption, "Quintor 정보");
  // The first child is the icon picture, whose text is the icon's resource id.
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(texts.begin() + 1, texts.end()),
            (std::vector<std::string>{"Quintor 버전 1.0", "셋톱박스 다운로드 도구", "확인"}));
  EXPECT_TRUE(hasIcon);
}

TEST(AboutBox, EscClosesIt) {
  CAboutDlg about;
  ModalWindowWatcher watcher([](HWND hwnd) { return ModalWindowWatcher::Press(hwnd, IDCANCEL); });
  EXPECT_EQ(about.DoModal(), IDCANCEL);
}

TEST(Resources, SystemMenuEntryTextIsKorean) {
  const wchar_t* text = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, reinterpret_cast<wchar_t*>(&text), 0);
  ASSERT_GT(length, 0);
  EXPECT_EQ(Narrow(std::wstring(text, static_cast<size_t>(length))), "Quintor 정보(&A)...");
}

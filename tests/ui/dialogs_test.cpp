// The dialogs on real windows under Wine: the new-record dialog and its name box,
// the table picture and its reveal (also closed half-way), the Send button with and
// without Ctrl+S (the URL that reaches the shell), the About box and its link, and
// the start-up zoom. Screenshots go to the test's folder as dialog_*.bmp.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "core/win32/wide_text.h"
#include "records/high_score_table.h"
#include "records/ranking_block.h"
#include "records/record_codec.h"
#include "shell/frame_dialogs.h"
#include "ui/cp932_win.h"
#include "ui/dialog_ids.h"
#include "ui/window_messages.h"
#include "ui/hiscore_dlg.h"
#include "ui/japanese_font.h"
#include "ui/new_record_dlg.h"
#include "ui/send_ranking.h"
#include "ui/version_dlg.h"
#include "ui/zoom_intro_dlg.h"

using namespace dialog_test;

namespace {

const char kSuffix[] = "秒ポムル";

MgGameDesc Desc() {
  MgGameDesc d;
  d.title = "ポムルのロデオ";
  d.version = "1.00";
  d.code = "QM100";
  d.unitSuffix = kSuffix;
  return d;
}

MgInfo EmptyRecord() {
  MgInfo r{};
  r.installStamp[0] = 0x01020304;
  r.installStamp[1] = 0x65000000;
  std::strcpy(r.lastPlayerName, "\x82\xA0\x82\xC8\x82\xBD");  // あなた
  return r;
}

std::string Cp932(const wchar_t* text) { return Cp932FromWide(text); }

// ---- code page 932 at the boundary

TEST(Cp932, ConvertsBothWaysAndLeavesOutWhatItCannotHold) {
  EXPECT_EQ(Cp932(L"ポムル"), "\x83\x7C\x83\x80\x83\x8B");
  EXPECT_EQ(WideFromCp932("\x83\x7C\x83\x80\x83\x8B"), L"ポムル");
  EXPECT_EQ(WideFromCp932("ab\x83"), L"ab") << "a cut lead byte is dropped";
  struct Case {
    const wchar_t* text;
    int bytes;
  } cases[] = {
      {L"", 0}, {L"abc", 3}, {L"あなた", 6}, {L"ｱｲｳ", 3}, {L"①髙", 4},
      {L"caf\u00E9", -1},     // no é in code page 932 (a best fit would give 'e')
      {L"\u00AC", -1},        // ¬ only as the full-width ￢
      {L"a\U0001F600", -1},   // outside the basic plane
      {L"\u0416", 2},         // Cyrillic Ж is there
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Cp932ByteCount(c.text), c.bytes) << Utf8FromWide(c.text);
    bool lossless = true;
    std::string bytes = Cp932FromWide(c.text, &lossless);
    EXPECT_EQ(lossless, c.bytes >= 0);
    EXPECT_EQ(bytes.find('?'), std::string::npos) << "never a stand-in";
  }
}

// ---- the new-record dialog

struct NewRecordRun {
  HWND dialog = nullptr;
  std::wstring message;
  LONG messageWeight = 0;
  std::wstring initialName;
  DWORD selStart = 0, selEnd = 0;
};

TEST(NewRecord, RanksOpensWithTheMessageTakesAJapaneseNameAndStoresIt) {
  MgInfo record = EmptyRecord();
  InsertResult(&record, " 30.000", 30000);
  StorePlayerName(&record, 0, "\x82\xA0");
  ASSERT_EQ(InsertResult(&record, " 41.250", 41250), 0);
  CNewRecordDlg dialog(record.table[0].scoreText, 0, record.lastPlayerName, kSuffix);

  NewRecordRun seen;
  int refusedNonCp932 = -1;
  std::wstring afterLong, afterBad;
  BOOL disabledWhenEmpty = TRUE, enabledAgain = FALSE;
  INT_PTR closedWith = 0;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"やったぜ！ハイスコア");
      if (!d) return;
      seen.dialog = d;
      HWND message = GetDlgItem(d, IDC_NEWRECORD_MESSAGE);
      seen.message = Text(message);
      LOGFONTW lf{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(message, WM_GETFONT, 0, 0)), sizeof lf, &lf);
      seen.messageWeight = lf.lfWeight;
      HWND edit = GetDlgItem(d, IDC_NAME_EDIT);
      seen.initialName = Text(edit);
      SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&seen.selStart),
                   reinterpret_cast<LPARAM>(&seen.selEnd));
      Sleep(200);
      SaveWindowShot(d, "dialog_newrecord.bmp");
      // Typing replaces the selected last name.
      Type(edit, L"ポムル太郎");
      // 10 bytes so far; 花 and 山 (two each) and x (one) make 15, one more あ would make 17.
      Type(edit, L"花x山あ");
      afterLong = Text(edit);
      // Emptying the box disables both buttons; one character enables them.
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SendMessageW(edit, WM_CHAR, VK_BACK, 1);
      disabledWhenEmpty = IsWindowEnabled(GetDlgItem(d, IDOK)) || IsWindowEnabled(GetDlgItem(d, IDCANCEL));
      Type(edit, L"ポムル");
      enabledAgain = IsWindowEnabled(GetDlgItem(d, IDOK)) && IsWindowEnabled(GetDlgItem(d, IDCANCEL));
      // Characters code page 932 does not have are refused, one by one or pasted.
      Type(edit, L"\u00E9");
      Type(edit, L"\U0001F600");
      SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"caf\u00E9"));
      afterBad = Text(edit);
      refusedNonCp932 = afterBad == L"ポムル" ? 1 : 0;
      // What an input method hands over arrives as WM_IME_CHAR: the same rules.
      SendMessageW(edit, WM_IME_CHAR, L'\u00E9', 1);
      Type(edit, L"ｱ1");  // single-byte katakana and a digit are fine
      Sleep(100);
      SaveWindowShot(d, "dialog_newrecord_typed.bmp");
      PostMessageW(GetDlgItem(d, IDC_HISCORE_BUTTON), BM_CLICK, 0, 0);
    });
    closedWith = dialog.DoModal(nullptr);
  }
  ASSERT_TRUE(seen.dialog) << "the dialog did not show";
  EXPECT_EQ(Utf8FromWide(seen.message.c_str()), "ナイス！ 41.250 秒ポムルで 1 位入賞！");
  EXPECT_EQ(seen.messageWeight, FW_BOLD);
  EXPECT_EQ(seen.initialName, L"あ");
  EXPECT_EQ(seen.selStart, 0u);
  EXPECT_EQ(seen.selEnd, 1u);
  EXPECT_EQ(Utf8FromWide(afterLong.c_str()), "ポムル太郎花x山") << "15 bytes; あ would make 17";
  EXPECT_FALSE(disabledWhenEmpty);
  EXPECT_TRUE(enabledAgain);
  EXPECT_EQ(refusedNonCp932, 1) << Utf8FromWide(afterBad.c_str());
  EXPECT_EQ(closedWith, IDC_HISCORE_BUTTON);
  EXPECT_EQ(dialog.Name(), Cp932(L"ポムルｱ1")) << "the name as the box held it when it closed";
}

TEST(NewRecord, TheNameBoxTakesSixteenBytesAndNeverHalfACharacter) {
  MgInfo record = EmptyRecord();
  record.lastPlayerName[0] = '\0';
  ASSERT_EQ(InsertResult(&record, " 10.000", 10000), 0);
  CNewRecordDlg dialog(record.table[0].scoreText, 0, record.lastPlayerName, kSuffix);
  BOOL buttonsAtStart = TRUE;
  std::wstring full, mixed;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"やったぜ！ハイスコア");
      if (!d) return;
      buttonsAtStart = IsWindowEnabled(GetDlgItem(d, IDOK)) || IsWindowEnabled(GetDlgItem(d, IDCANCEL));
      HWND edit = GetDlgItem(d, IDC_NAME_EDIT);
      Type(edit, L"あいうえおかきくけ");  // nine: the ninth is refused
      full = Text(edit);
      // 15 single-byte characters, then a double-byte one would make 17. (Narrow
      // letters: the box has no auto-scroll, so its width limits the text too.)
      SetWindowTextW(edit, L"");
      Type(edit, L"iiiiiiiiiiiiiii");
      Type(edit, L"あ");
      Type(edit, L"l");
      mixed = Text(edit);
      // Pasting a text that does not fit is refused as a whole.
      SendMessageW(edit, EM_SETSEL, 0, 0);
      SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"zz"));
      PostMessageW(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL);
  }
  EXPECT_FALSE(buttonsAtStart) << "an empty last name: both buttons start disabled";
  EXPECT_EQ(full, L"あいうえおかきく");
  EXPECT_EQ(mixed, L"iiiiiiiiiiiiiiil");
  EXPECT_EQ(dialog.Name(), "iiiiiiiiiiiiiiil");
}

TEST(NewRecord, AResultThatDoesNotRankShowsNothing) {
  MgInfo record = EmptyRecord();
  for (int i = 0; i < 10; ++i) InsertResult(&record, "  5.000", 5000);
  MgGameDesc desc = Desc();
  EXPECT_EQ(ShowResultDialogs(nullptr, nullptr, &record, desc, "  4.999", 4999), -1);
  EXPECT_EQ(record.table[9].scoreMs, 5000u);
}

// ---- the table

MgInfo TableRecord() {
  MgInfo r = EmptyRecord();
  const struct {
    const char* text;
    uint32_t ms;
    const wchar_t* name;
  } rows[] = {{" 98.765", 98765, L"ポムル名人"}, {" 45.000", 45000, L"あなた"}, {" 12.345", 12345, L"Cowboy"},
              {"  3.210", 3210, L"ﾎﾟﾑﾙ"}};
  for (const auto& row : rows) {
    int rank = InsertResult(&r, row.text, row.ms);
    StorePlayerName(&r, rank, Cp932(row.name).c_str());
  }
  return r;
}

// Counts pixels of one colour in a band of rows of a bitmap.
int CountColour(HBITMAP bitmap, int top, int bottom, COLORREF colour) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int n = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 30; x < kTableWidth; ++x)
      if (GetPixel(dc, x, y) == colour) ++n;
  SelectObject(dc, old);
  DeleteDC(dc);
  return n;
}

TEST(HighScoreTable, RowsAreDrawnWithShadowsAndTheNewRowInYellow) {
  MgInfo record = TableRecord();
  HBITMAP table = DrawHighScoreTable(ScoreRowsOf(record), 1, kSuffix);
  ASSERT_TRUE(table);
  BITMAP info;
  GetObjectW(table, sizeof info, &info);
  EXPECT_EQ(info.bmWidth, kTableWidth);
  EXPECT_EQ(info.bmHeight, kTableHeight);
  for (int row = 0; row < 6; ++row) {
    int top = 35 + 19 * row - 1, bottom = top + 19;
    int yellow = CountColour(table, top, bottom, RGB(255, 255, 0));
    int white = CountColour(table, top, bottom, RGB(255, 255, 255));
    int shadow = CountColour(table, top, bottom, RGB(128, 128, 128));
    if (row == 1) {
      EXPECT_GT(yellow, 80) << "highlighted row";
      EXPECT_GT(CountColour(table, top, bottom, RGB(152, 144, 6)), 20) << "dark yellow shadow";
      EXPECT_EQ(white, 0);
    } else if (row < 4) {
      EXPECT_GT(white, 80) << row;
      EXPECT_GT(shadow, 20) << row;
      EXPECT_EQ(yellow, 0) << row;
    } else {
      EXPECT_EQ(white + yellow, 0) << "row " << row << " is free";
    }
  }
  DeleteObject(table);
}

TEST(HighScoreTable, RevealsThenShowsTheFinishedPictureWithTheSendTooltip) {
  MgInfo record = TableRecord();
  CHiScoreDlg dialog(ScoreRowsOf(record), 0, RankingAddressOf("QM100", record), kSuffix);
  HBITMAP shownAtEnd = nullptr, table = nullptr;
  int framesAtEnd = 0, stateAtEnd = -1;
  BOOL sendEnabled = FALSE;
  std::wstring tip;
  DWORD revealMs = 0;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"ハイスコア");
      if (!d) return;
      DWORD start = GetTickCount();
      HWND picture = GetDlgItem(d, IDC_HISCORE_PICTURE);
      Sleep(260);
      SaveWindowShot(d, "dialog_hiscore_reveal.bmp");
      table = dialog.Job()->table.get();
      WaitFor([&] { return reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)) == table; });
      revealMs = GetTickCount() - start;
      shownAtEnd = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
      WaitFor([&] { return dialog.GetRevealState() == 0; });
      framesAtEnd = dialog.Job()->framesDrawn.load();
      stateAtEnd = dialog.GetRevealState();
      sendEnabled = IsWindowEnabled(GetDlgItem(d, IDC_SEND));
      // The tooltip's question for the Send button, answered with string 1101.
      HWND tooltip = nullptr;
      EnumThreadWindows(GetWindowThreadProcessId(d, nullptr), [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[64];
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(w, GW_OWNER) == GetAncestor(w, GA_ROOTOWNER) &&
            FindWindowW(L"#32770", L"ハイスコア") == GetWindow(w, GW_OWNER)) {
          *reinterpret_cast<HWND*>(p) = w;
          return FALSE;
        }
        return TRUE;
      }, reinterpret_cast<LPARAM>(&tooltip));
      NMTTDISPINFOW info{};
      info.hdr.hwndFrom = tooltip;
      info.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(d, IDC_SEND));
      info.hdr.code = TTN_GETDISPINFOW;
      info.uFlags = TTF_IDISHWND;
      SendMessageW(d, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
      tip = info.lpszText ? info.lpszText : L"";
      Sleep(100);
      SaveWindowShot(d, "dialog_hiscore.bmp");
      PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  EXPECT_TRUE(table);
  EXPECT_EQ(shownAtEnd, table) << "the control shows the table picture at the end";
  EXPECT_EQ(framesAtEnd, 12);
  EXPECT_EQ(stateAtEnd, 0);
  EXPECT_TRUE(sendEnabled);
  EXPECT_EQ(Utf8FromWide(tip.c_str()), "インターネットランキングに送信する");
  std::printf("reveal: finished picture shown %lu ms after the dialog appeared\n",
              static_cast<unsigned long>(revealMs));
}

// However late the UI thread gets to the close, the worker draws at most the frame
// it is in once the stop has been asked for, and has ended when the dialog is gone.
TEST(HighScoreTable, ClosingDuringTheRevealEndsItWithinAFrame) {
  MgInfo record = TableRecord();
  for (DWORD closeAfter : {60u, 230u, 380u}) {  // in the first pause, mid-way, near the end
    CHiScoreDlg dialog(ScoreRowsOf(record), -1, RankingAddressOf("QM100", record), kSuffix);
    DWORD closedAt = 0;
    int framesAtClose = 0;
    std::atomic<int> framesAfterStop{0};
    dialog.WatchRevealFrames([&](int) {
      if (dialog.Job()->StopRequested()) ++framesAfterStop;
    });
    {
      Driver driver([&] {
        HWND d = WaitForWindow(L"ハイスコア");
        if (!d) return;
        Sleep(closeAfter);
        framesAtClose = dialog.Job()->framesDrawn.load();
        closedAt = GetTickCount();
        PostMessageW(d, WM_CLOSE, 0, 0);
      });
      dialog.DoModal(nullptr);
    }
    DWORD took = GetTickCount() - closedAt;
    std::shared_ptr<RevealJob> job = dialog.Job();
    EXPECT_EQ(job->revealState.load(), 0) << "closed after " << closeAfter << " ms: the worker has ended";
    EXPECT_LE(framesAfterStop.load(), 1) << "closed after " << closeAfter << " ms";
    std::printf("reveal closed after %lu ms (frame %d): dialog gone %lu ms later, %d frames in all\n",
                static_cast<unsigned long>(closeAfter), framesAtClose, static_cast<unsigned long>(took),
                job->framesDrawn.load());
  }
}

// The pixels of a w x h area of a context from (x, y), 0x00RRGGBB, top row first.
std::vector<uint32_t> ReadPixels(HDC source, int w, int h, int x = 0, int y = 0) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  BitBlt(memory, 0, 0, w, h, source, x, y, SRCCOPY);
  GdiFlush();
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  return pixels;
}

// Frame k copies the table's top 17 (k + 1) rows to y = 215 - 17 k on the canvas,
// so the band ends at the bottom edge and moves up; what the control shows mid-way
// is the table's top above black.
TEST(HighScoreTable, EachRevealFrameCopiesOneBandMoreOfTheTablesTop) {
  MgInfo record = TableRecord();
  std::vector<uint32_t> table;
  {
    HBITMAP drawn = DrawHighScoreTable(ScoreRowsOf(record), 0, kSuffix);
    ASSERT_TRUE(drawn);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, drawn);
    table = ReadPixels(memory, kTableWidth, kTableHeight);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(drawn);
  }
  CHiScoreDlg dialog(ScoreRowsOf(record), 0, RankingAddressOf("QM100", record), kSuffix);
  struct Copy {
    RECT from;
    POINT to;
  };
  std::vector<Copy> copies;
  const int kLookedAt = 5;
  std::vector<uint32_t> shown;
  RECT client{};
  dialog.WatchRevealFrames([&](int frame) {
    const RevealJob& job = *dialog.Job();
    copies.push_back({job.copiedFrom, job.copiedTo});
    if (frame != kLookedAt) return;
    GetClientRect(job.picture, &client);
    HDC control = GetDC(job.picture);
    shown = ReadPixels(control, kTableWidth, kTableHeight);
    ReleaseDC(job.picture, control);
  });
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"ハイスコア");
      if (!d) return;
      WaitFor([&] { return dialog.Job()->framesDrawn.load() == 12 && dialog.GetRevealState() == 0; });
      PostMessageW(d, WM_CLOSE, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  ASSERT_EQ(copies.size(), 12u);
  for (int k = 0; k < 12; ++k) {
    const Copy& c = copies[k];
    EXPECT_EQ(c.from.left, 0) << "frame " << k;
    EXPECT_EQ(c.from.top, 0) << "frame " << k;
    EXPECT_EQ(c.from.right, kTableWidth) << "frame " << k;
    EXPECT_EQ(c.from.bottom, 17 * (k + 1)) << "frame " << k << ": the band's rows, not the whole table";
    EXPECT_EQ(c.to.x, 0) << "frame " << k;
    EXPECT_EQ(c.to.y, 215 - 17 * k) << "frame " << k;
  }
  ASSERT_EQ(shown.size(), table.size());
  const int top = 215 - 17 * kLookedAt;
  const int w = std::min<int>(client.right, kTableWidth), h = std::min<int>(client.bottom, kTableHeight);
  ASSERT_GT(h, top + 17) << "the control shows the band";
  int wrong = 0, firstWrongY = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t expected = y < top ? 0 : table[static_cast<size_t>(y - top) * kTableWidth + x];
      if (shown[static_cast<size_t>(y) * kTableWidth + x] != expected && wrong++ == 0) firstWrongY = y;
    }
  EXPECT_EQ(wrong, 0) << "frame " << kLookedAt << ": first wrong pixel in row " << firstWrongY;
}

TEST(HighScoreTable, AnEmptyTableDrawsNoRowsAndDisablesSend) {
  MgInfo record = EmptyRecord();
  CHiScoreDlg dialog(ScoreRowsOf(record), -1, RankingAddressOf("QM100", record), kSuffix);
  BOOL sendEnabled = TRUE;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"ハイスコア");
      if (!d) return;
      sendEnabled = IsWindowEnabled(GetDlgItem(d, IDC_SEND));
      PostMessageW(d, WM_CLOSE, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  EXPECT_FALSE(sendEnabled);
  HBITMAP table = DrawHighScoreTable(ScoreRowsOf(record), -1, kSuffix);
  EXPECT_EQ(CountColour(table, 30, kTableHeight, RGB(255, 255, 255)), 0);
  DeleteObject(table);
}

// The table is closed from the keyboard too: a key goes to the window with the
// focus, which must be one of the dialog's (the Send button refuses the focus).
TEST(HighScoreTable, EscAndReturnCloseItFromTheFocusedControl) {
  MgInfo full = TableRecord(), empty = EmptyRecord();
  struct Case {
    const MgInfo* record;
    WPARAM key;
  };
  for (const Case& c : {Case{&full, VK_ESCAPE}, Case{&full, VK_RETURN}, Case{&empty, VK_ESCAPE}}) {
    CHiScoreDlg dialog(ScoreRowsOf(*c.record), -1, RankingAddressOf("QM100", *c.record), kSuffix);
    HWND d = nullptr;
    bool focusInside = false;
    INT_PTR result = 0;
    {
      Driver driver([&] {
        d = WaitForWindow(L"ハイスコア");
        if (!d) return;
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(d, nullptr), &info);
        focusInside = info.hwndFocus && IsChild(d, info.hwndFocus);
        // A key pressed with no focus reaches no window of the dialog.
        if (focusInside) PostMessageW(info.hwndFocus, WM_KEYDOWN, c.key, 1);
        // Should the key do nothing, the dialog still goes, and the test says why.
        if (!WaitFor([&] { return !IsWindow(d); }, 2000)) PostMessageW(d, WM_CLOSE, 0, 0);
      });
      result = dialog.DoModal(nullptr);
    }
    ASSERT_TRUE(d);
    EXPECT_TRUE(focusInside) << "key " << c.key << ": a control of the dialog has the focus";
    EXPECT_EQ(result, c.key == VK_ESCAPE ? IDCANCEL : IDOK) << "key " << c.key << " closes the table";
  }
}

struct CountingPause : CModalPause {
  int suspended = 0, resumed = 0, depth = 0, maxDepth = 0;
  void SuspendForModal() override { ++suspended, maxDepth = std::max(maxDepth, ++depth); }
  void ResumeAfterModal() override { ++resumed, --depth; }
};

// Yellow pixels of the table picture's row `row` on the screen.
int YellowOnScreen(HWND dialog, int row) {
  RECT r;
  GetWindowRect(GetDlgItem(dialog, IDC_HISCORE_PICTURE), &r);
  int left = r.left + 30, top = r.top + 1 + 34 + 19 * row;  // inside the sunken edge
  int w = r.right - 2 - left, h = 18;
  HDC screen = GetDC(nullptr);
  std::vector<uint32_t> pixels = ReadPixels(screen, w, h, left, top);
  ReleaseDC(nullptr, screen);
  return static_cast<int>(std::count(pixels.begin(), pixels.end(), 0xFFFF00u));
}

TEST(ResultDialogs, ARideThatRanksAsksTheNameThenShowsTheTableWithTheRowInYellow) {
  MgInfo record = TableRecord();
  MgGameDesc desc = Desc();
  CountingPause pause;
  int yellowRows[5] = {};
  bool tableShown = false;
  int rank = -2;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"やったぜ！ハイスコア");
      if (!d) return;
      HWND edit = GetDlgItem(d, IDC_NAME_EDIT);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      Type(edit, L"牛若丸");
      PostMessageW(GetDlgItem(d, IDC_HISCORE_BUTTON), BM_CLICK, 0, 0);
      HWND t = WaitForWindow(L"ハイスコア");
      tableShown = t != nullptr;
      if (!t) return;
      // The new row reaches its own place only with the finished picture (during the
      // reveal the table sits at least 28 rows lower).
      WaitFor([&] { return YellowOnScreen(t, 2) > 80; }, 5000);
      for (int row = 0; row < 5; ++row) yellowRows[row] = YellowOnScreen(t, row);
      SaveWindowShot(t, "dialog_hiscore_new_row.bmp");
      PostMessageW(t, WM_CLOSE, 0, 0);
    });
    rank = ShowResultDialogs(nullptr, &pause, &record, desc, " 20.000", 20000);
  }
  EXPECT_EQ(rank, 2);
  EXPECT_TRUE(tableShown);
  EXPECT_STREQ(record.table[2].playerName, Cp932(L"牛若丸").c_str());
  EXPECT_STREQ(record.table[3].playerName, "Cowboy");
  for (int row = 0; row < 5; ++row) {
    if (row == 2) EXPECT_GT(yellowRows[row], 80) << "the new row";
    else EXPECT_EQ(yellowRows[row], 0) << row;
  }
  EXPECT_EQ(pause.suspended, 2) << "paused for each dialog";
  EXPECT_EQ(pause.resumed, 2);
  EXPECT_EQ(pause.maxDepth, 1);
}

// ---- Send: the URL that reaches the shell

class SendToShell : public ::testing::Test {
 protected:
  std::wstring catchFile;
  struct Saved {
    std::wstring key, command;
    bool had = false;
  };
  std::vector<Saved> saved;

  void SetUp() override {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.resize(folder.find_last_of(L'\\') + 1);
    catchFile = folder + L"dialog_urls.txt";
    DeleteFileW(catchFile.c_str());
    SetEnvironmentVariableW(L"RODEO_URL_CATCH", catchFile.c_str());
    // The stand-in browser for http and https addresses, in this test prefix only.
    std::wstring command = L"\"" + folder + L"url_catcher.exe\" \"%1\"";
    for (const wchar_t* scheme : {L"https", L"http"}) {
      Saved s;
      s.key = std::wstring(L"Software\\Classes\\") + scheme + L"\\shell\\open\\command";
      HKEY key;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, s.key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                &key, nullptr),
                ERROR_SUCCESS);
      wchar_t old[1024];
      DWORD size = sizeof old;
      s.had = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
              ERROR_SUCCESS;
      if (s.had) s.command = old;
      SetDefault(key, command);
      RegCloseKey(key);
      saved.push_back(s);
    }
  }
  void TearDown() override {
    for (const Saved& s : saved) {
      HKEY key;
      if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, s.key.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) continue;
      if (s.had) SetDefault(key, s.command);
      else RegDeleteValueW(key, nullptr);
      RegCloseKey(key);
    }
  }
  static void SetDefault(HKEY key, const std::wstring& value) {
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  // The lines the stand-in browser wrote, once there are `count` of them.
  std::vector<std::string> Caught(size_t count) {
    std::vector<std::string> lines;
    WaitFor([&] {
      lines.clear();
      std::ifstream in(Utf8FromWide(catchFile.c_str()).c_str());
      if (!in) {
        std::FILE* f = _wfopen(catchFile.c_str(), L"rb");
        if (!f) return false;
        char buf[4096];
        std::string all(buf, std::fread(buf, 1, sizeof buf, f));
        std::fclose(f);
        std::istringstream s(all);
        for (std::string l; std::getline(s, l);) lines.push_back(l);
      } else {
        for (std::string l; std::getline(in, l);) lines.push_back(l);
      }
      return lines.size() >= count;
    }, 15000);
    return lines;
  }
  static void Keys(bool down) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = VK_CONTROL;
    in[1].ki.wVk = 'S';
    if (!down) in[0].ki.dwFlags = in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
  }
};

// The payload after "?Z" decoded back to a ranking block.
RankingEntry Decode(const std::string& url, std::string* page) {
  RankingEntry e{};
  size_t z = url.find("?Z");
  if (z == std::string::npos) return e;
  *page = url.substr(0, z);
  std::string payload = url.substr(z + 2);
  std::vector<uint8_t> block(DecodedLength(payload.c_str()));
  if (block.empty() || !DecodeRecord(payload.c_str(), block.data(), block.size())) return e;
  ReadRankingBlock(block.data(), block.size(), &e);
  return e;
}

TEST_F(SendToShell, SendOpensTheRankingUrlAndCtrlSAsksForAnotherPageOnce) {
  MgInfo record = TableRecord();
  CHiScoreDlg dialog(ScoreRowsOf(record), -1, RankingAddressOf("QM100", record), kSuffix);
  bool askedForPath = false, closeBoxFellBack = false;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"ハイスコア");
      if (!d) return;
      // 1: no keys held.
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SEND)));
      Caught(1);
      // 2: Ctrl+S held while clicking: the path dialog, a typed address, OK.
      Keys(true);
      Sleep(100);
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SEND)));
      HWND path = WaitForWindow(L"select path", 5000);
      Keys(false);
      askedForPath = path != nullptr;
      if (path) {
        EXPECT_EQ(Text(GetDlgItem(path, IDC_CGI_PATH)), L"") << "starts empty";
        SetDlgItemTextW(path, IDC_CGI_PATH, L"http://127.0.0.1:8080/cgi-bin/ranking/rdiv.cgi");
        Sleep(100);
        SaveWindowShot(path, "dialog_cgipath.bmp");
        PostMessageW(GetDlgItem(path, IDOK), BM_CLICK, 0, 0);
      }
      Caught(2);
      // 3: no keys again: string 1103.
      WaitFor([&] { return !FindWindowW(L"#32770", L"select path"); });
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SEND)));
      Caught(3);
      // 4: Ctrl+S, then the path dialog's close box: string 1103.
      Keys(true);
      Sleep(100);
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_SEND, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_SEND)));
      path = WaitForWindow(L"select path", 5000);
      Keys(false);
      if (path) {
        SetDlgItemTextW(path, IDC_CGI_PATH, L"http://ignored.example/");
        PostMessageW(path, WM_CLOSE, 0, 0);
        closeBoxFellBack = true;
      }
      Caught(4);
      PostMessageW(d, WM_CLOSE, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  EXPECT_TRUE(askedForPath);
  EXPECT_TRUE(closeBoxFellBack);
  std::vector<std::string> urls = Caught(4);
  ASSERT_EQ(urls.size(), 4u);
  const std::string pages[] = {"https://rodeo.example.com/cgi-bin/ranking/rdiv.cgi",
                               "http://127.0.0.1:8080/cgi-bin/ranking/rdiv.cgi",
                               "https://rodeo.example.com/cgi-bin/ranking/rdiv.cgi",
                               "https://rodeo.example.com/cgi-bin/ranking/rdiv.cgi"};
  for (int i = 0; i < 4; ++i) {
    std::string url = urls[i];
    // The stand-in gets its argument as the shell passed it: "%1" in quotes.
    if (url.size() >= 2 && url.front() == '"') url = url.substr(1, url.find('"', 1) - 1);
    std::string page;
    RankingEntry e = Decode(url, &page);
    EXPECT_EQ(page, pages[i]) << urls[i];
    EXPECT_EQ(url.size(), pages[i].size() + 2 + 56) << "26 bytes encode to 56 characters";
    EXPECT_EQ(e.code, "QM100");
    EXPECT_EQ(e.scoreText, " 98.765");
    EXPECT_EQ(e.scoreMs, 98765u);
    EXPECT_EQ(e.stamp[0], record.installStamp[0]);
    EXPECT_EQ(e.stamp[1], record.installStamp[1]);
  }
}

// A press on Send, released on it (a submission) or beside it (nothing), must not
// leave the focus nowhere: the keys still close the table. Real pointer and keys.
TEST_F(SendToShell, AfterAPressOnSendEscAndReturnStillCloseTheTable) {
  MgInfo record = TableRecord();
  struct Case {
    bool releasedOnSend;
    WORD key;
    INT_PTR result;
  } cases[] = {{true, VK_ESCAPE, IDCANCEL}, {true, VK_RETURN, IDOK}, {false, VK_ESCAPE, IDCANCEL},
               {false, VK_RETURN, IDOK}};
  size_t submissions = 0;
  for (const Case& c : cases) {
    const char* how = c.releasedOnSend ? "released on Send" : "released beside it";
    CHiScoreDlg dialog(ScoreRowsOf(record), -1, RankingAddressOf("QM100", record), kSuffix);
    HWND focusAfterPress = nullptr, ok = nullptr;
    bool hovered = false, closedByKey = false;
    INT_PTR result = 0;
    {
      Driver driver([&] {
        HWND d = WaitForWindow(L"ハイスコア");
        if (!d) return;
        HWND send = GetDlgItem(d, IDC_SEND);
        ok = GetDlgItem(d, IDOK);
        POINT on = Centre(send), beside = Centre(GetDlgItem(d, IDC_HISCORE_PICTURE));
        PointerTo(on.x, on.y);
        hovered = WaitFor([&] { return GuiState(d).hwndCapture == send; }, 3000);
        LeftButton(true);
        if (!c.releasedOnSend) PointerTo(beside.x, beside.y);
        LeftButton(false);
        if (c.releasedOnSend) {
          Caught(++submissions);  // the click has been handled
        } else {
          WaitFor([&] { return GuiState(d).hwndCapture == nullptr; }, 3000);
        }
        focusAfterPress = GuiState(d).hwndFocus;
        PointerTo(beside.x, beside.y);
        PressKey(c.key);
        closedByKey = WaitFor([&] { return !IsWindow(d); }, 3000);
        if (!closedByKey) PostMessageW(d, WM_CLOSE, 0, 0);
      });
      result = dialog.DoModal(nullptr);
    }
    EXPECT_TRUE(hovered) << how << ": the pointer over Send lights it";
    EXPECT_EQ(focusAfterPress, ok) << how << ": OK has the focus after the press";
    EXPECT_TRUE(closedByKey) << how << ": key " << c.key << " closes the table";
    EXPECT_EQ(result, c.result) << how << ": key " << c.key;
  }
}

// ---- the About box and its link

int opened = 0;
INT_PTR OpenSucceeds(const std::wstring&) { return ++opened, 42; }
INT_PTR OpenFails(const std::wstring&) { return ++opened, 2; }

TEST(About, ShowsTheTitleLineTotalsAndTheLink) {
  MgInfo record = EmptyRecord();
  record.totalPlayMs = 90000000;
  record.totalClicks = 4294967295u;
  CVersionDlg dialog(record.totalPlayMs, record.totalClicks, "ポムルのロデオ", "1.00");
  std::wstring titleLine, playTime, clicks, link;
  LONG titleWeight = 0;
  BYTE linkUnderline = 0;
  RECT linkRect{};
  COLORREF hoverColour = 0, afterLeave = 0, afterSuccess = 0, afterFailure = 0;
  bool errorBox = false;
  CLinkStatic::Opener savedOpener = CLinkStatic::opener;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"バージョン情報");
      if (!d) return;
      titleLine = Text(GetDlgItem(d, IDC_ABOUT_TITLE));
      LOGFONTW lf{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(d, IDC_ABOUT_TITLE), WM_GETFONT, 0, 0)),
                 sizeof lf, &lf);
      titleWeight = lf.lfWeight;
      HWND l = GetDlgItem(d, IDC_ABOUT_LINK);
      link = Text(l);
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(l, WM_GETFONT, 0, 0)), sizeof lf, &lf);
      linkUnderline = lf.lfUnderline;
      GetClientRect(l, &linkRect);
      playTime = Text(GetDlgItem(d, IDC_PLAY_TIME));
      clicks = Text(GetDlgItem(d, IDC_CLICK_COUNT));
      Sleep(200);
      SaveWindowShot(d, "dialog_about.bmp");
      // Hover: over the link, then off it.
      SendMessageW(l, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
      hoverColour = dialog.Link().CurrentColour();
      SendMessageW(l, WM_MOUSEMOVE, 0, MAKELPARAM(3, 300));
      afterLeave = dialog.Link().CurrentColour();
      // A click that opens, and one that fails (with its message box).
      CLinkStatic::opener = OpenSucceeds;
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(l));
      WaitFor([&] { return opened == 1; });
      Sleep(50);
      afterSuccess = dialog.Link().CurrentColour();
      CLinkStatic::opener = OpenFails;
      PostMessageW(d, WM_COMMAND, MAKEWPARAM(IDC_ABOUT_LINK, STN_CLICKED), reinterpret_cast<LPARAM>(l));
      HWND box = WaitForWindow(L"エラー", 5000);
      errorBox = box != nullptr;
      if (box) PostMessageW(box, WM_COMMAND, IDOK, 0);
      WaitFor([&] { return !FindWindowW(L"#32770", L"エラー"); });
      afterFailure = dialog.Link().CurrentColour();
      PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  CLinkStatic::opener = savedOpener;
  EXPECT_EQ(Utf8FromWide(titleLine.c_str()), "ポムルのロデオ Version1.00");
  EXPECT_EQ(titleWeight, FW_BOLD);
  EXPECT_EQ(Utf8FromWide(link.c_str()), "https://rodeo.example.com/");
  EXPECT_TRUE(linkUnderline);
  EXPECT_GT(linkRect.bottom, 8);
  EXPECT_LT(linkRect.bottom, 24) << "the link takes its text's height";
  EXPECT_EQ(Utf8FromWide(playTime.c_str()), "25時間0分0秒");
  EXPECT_EQ(Utf8FromWide(clicks.c_str()), "4294967295回");
  EXPECT_EQ(hoverColour, RGB(255, 16, 16));
  EXPECT_EQ(afterLeave, RGB(16, 16, 255));
  EXPECT_EQ(afterSuccess, RGB(16, 16, 255)) << "the About box sets visited to the same blue";
  EXPECT_TRUE(errorBox);
  EXPECT_EQ(afterFailure, RGB(16, 16, 255));
  EXPECT_EQ(dialog.Link().visited, 0) << "a failed opening is not a visit";
  EXPECT_TRUE(dialog.Link().GetHandCursor() != nullptr);
}

// The link's tooltip shows its text when the pointer rests on the link: the tool
// follows the link's size, which it takes only when its text is set.
TEST(About, RestingOnTheLinkShowsItsTip) {
  CVersionDlg dialog(0, 0, "ポムルのロデオ", "1.00");
  RECT link{}, tool{};
  bool shown = false;
  std::wstring tipText;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(L"バージョン情報");
      if (!d) return;
      HWND l = GetDlgItem(d, IDC_ABOUT_LINK);
      HWND tip = dialog.Link().GetToolTip();
      GetClientRect(l, &link);
      wchar_t text[256] = L"";
      TTTOOLINFOW info{};
      info.cbSize = TTTOOLINFOW_V2_SIZE;
      info.hwnd = l;
      info.uId = 1;
      info.lpszText = text;
      SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
      tool = info.rect;
      POINT p = Centre(l);
      PointerTo(p.x - 2, p.y);
      PointerTo(p.x, p.y);
      shown = WaitFor([&] { return IsWindowVisible(tip) != FALSE; }, 5000);
      if (shown) {
        info.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&info));
        tipText = text;
        RECT r;
        GetWindowRect(d, &r);
        RECT t;
        GetWindowRect(tip, &t);
        UnionRect(&r, &r, &t);
        SaveScreenShot(r, "dialog_about_tip.bmp");
      }
      PointerTo(0, 0);
      PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  EXPECT_TRUE(EqualRect(&tool, &link)) << "the tool covers the link: " << tool.right << "x" << tool.bottom
                                       << ", link " << link.right << "x" << link.bottom;
  EXPECT_TRUE(shown) << "the tip shows";
  EXPECT_EQ(Utf8FromWide(tipText.c_str()), "ザンボラ ホームページ");
}

// Every opening of the About box loads its picture; closing must give it back, or
// a player who opens it often makes the program grow.
TEST(About, ClosingDeletesThePictureItShowed) {
  MgInfo record = EmptyRecord();
  std::vector<HGDIOBJ> shown;
  for (int i = 0; i < 2; ++i) {
    CVersionDlg dialog(record.totalPlayMs, record.totalClicks, "ポムルのロデオ", "1.00");
    Driver driver([&] {
      HWND d = WaitForWindow(L"バージョン情報");
      if (!d) return;
      shown.push_back(reinterpret_cast<HGDIOBJ>(
          SendMessageW(GetDlgItem(d, IDC_ABOUT_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0)));
      PostMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  ASSERT_EQ(shown.size(), 2u);
  for (HGDIOBJ bitmap : shown) {
    EXPECT_TRUE(bitmap != nullptr) << "the About box shows its picture";
    EXPECT_EQ(GetObjectType(bitmap), 0u) << "the picture is deleted with the box";
  }
}

// ---- fonts that show Japanese whatever the display language

// Whether the system has `face` with Japanese characters.
bool HasJapanese(const wchar_t* face) {
  LOGFONTW query{};
  query.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(query.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExW(
      screen, &query, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
        *reinterpret_cast<bool*>(found) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

// Each control of each dialog asks for the Japanese character set in a face that
// has it; a face name the system does not know falls back to one it has.
TEST(JapaneseFonts, EveryControlOfEveryDialogAsksForJapanese) {
  std::wstring fallback = JapaneseFace(L"No Such Face");
  EXPECT_TRUE(HasJapanese(fallback.c_str())) << Utf8FromWide(fallback.c_str());
  EXPECT_TRUE(HasJapanese(JapaneseFace(L"ＭＳ Ｐゴシック").c_str()));

  MgInfo record = TableRecord();
  struct Seen {
    std::wstring dialog;
    int controls = 0;
    std::vector<std::string> wrong;
  };
  auto look = [](const wchar_t* caption, Seen* seen) {
    HWND d = WaitForWindow(caption);
    seen->dialog = caption;
    if (!d) return;
    for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      wchar_t cls[16] = L"";
      GetClassNameW(c, cls, 16);
      LONG_PTR type = GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK;
      if (lstrcmpiW(cls, L"Static") == 0 && (type == SS_BITMAP || type == SS_ICON)) continue;  // pictures
      ++seen->controls;
      LOGFONTW lf{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)), sizeof lf, &lf);
      if (lf.lfCharSet != SHIFTJIS_CHARSET || !HasJapanese(lf.lfFaceName))
        seen->wrong.push_back("control " + std::to_string(GetDlgCtrlID(c)) + ": character set " +
                              std::to_string(lf.lfCharSet) + ", face " + Utf8FromWide(lf.lfFaceName));
    }
    PostMessageW(d, WM_CLOSE, 0, 0);
  };
  Seen seen[3];
  {
    CVersionDlg about(record.totalPlayMs, record.totalClicks, "ポムルのロデオ", "1.00");
    Driver driver([&] { look(L"バージョン情報", &seen[0]); });
    about.DoModal(nullptr);
  }
  {
    CHiScoreDlg table(ScoreRowsOf(record), -1, RankingAddressOf("QM100", record), kSuffix);
    Driver driver([&] { look(L"ハイスコア", &seen[1]); });
    table.DoModal(nullptr);
  }
  {
    CNewRecordDlg newRecord(" 20.000", 0, record.lastPlayerName, kSuffix);
    Driver driver([&] { look(L"やったぜ！ハイスコア", &seen[2]); });
    newRecord.DoModal(nullptr);
  }
  for (const Seen& s : seen) {
    EXPECT_GE(s.controls, 4) << Utf8FromWide(s.dialog.c_str());
    for (const std::string& w : s.wrong) ADD_FAILURE() << Utf8FromWide(s.dialog.c_str()) << ", " << w;
  }
}

// ---- the start-up zoom

// A window that paints a pattern, for the zoom to play over.
LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    for (int y = 0; y < r.bottom; y += 20)
      for (int x = 0; x < r.right; x += 20) {
        RECT cell = {x, y, x + 20, y + 20};
        HBRUSH b = CreateSolidBrush(RGB((x * 3) & 255, (y * 5) & 255, ((x + y) * 7) & 255));
        FillRect(dc, &cell, b);
        DeleteObject(b);
      }
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct ScreenPixels {
  std::vector<uint32_t> pixels;
  int w = 0, h = 0;
  explicit ScreenPixels(const RECT& r) : w(r.right - r.left), h(r.bottom - r.top) {
    pixels.resize(static_cast<size_t>(w) * h);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  int Differences(const ScreenPixels& o) const {
    int n = 0;
    for (size_t i = 0; i < pixels.size(); ++i) n += (pixels[i] & 0xFFFFFF) != (o.pixels[i] & 0xFFFFFF);
    return n;
  }
};

TEST(ZoomIntro, PlaysOverTheScreenIgnoresEnterAndEscAndLeavesItAsItWas) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = PatternProc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = L"ZoomPattern";
  RegisterClassW(&cls);
  HWND pattern = CreateWindowExW(WS_EX_TOPMOST, L"ZoomPattern", L"", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768,
                                 nullptr, nullptr, cls.hInstance, nullptr);
  ASSERT_TRUE(pattern);
  UpdateWindow(pattern);
  // A 400 x 300 target: the canvas is 600 x 600, 100 beyond it left and right.
  RECT target = {312, 234, 712, 534};
  RECT canvas = {212, 84, 812, 684};
  DWORD pumpStart = GetTickCount();
  while (GetTickCount() - pumpStart < 300) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  ScreenPixels before(canvas);
  CZoomIntroDlg dialog(target);
  int changedMidway = 0, stepsMidway = 0;
  RECT dialogRect{};
  DWORD shownAt = 0;
  {
    Driver driver([&] {
      HWND d = WaitForWindow(nullptr, 5000);
      WaitFor([&] { return dialog.Job()->stepsDone.load() >= 20; }, 5000);
      shownAt = GetTickCount();
      d = dialog.Job()->dialog;
      GetWindowRect(d, &dialogRect);
      // Enter and Esc do nothing.
      SendMessageW(d, WM_COMMAND, IDOK, 0);
      SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
      ScreenPixels midway(canvas);
      stepsMidway = dialog.Job()->stepsDone.load();
      changedMidway = midway.Differences(before);
      SaveScreenShot(canvas, "dialog_zoom_midway.bmp");
    });
    DWORD start = GetTickCount();
    dialog.DoModal(pattern);
    std::printf("zoom: the dialog ran %lu ms, its animation %lu ms (%d steps)\n",
                static_cast<unsigned long>(GetTickCount() - start),
                static_cast<unsigned long>(dialog.Job()->lastStepAt - dialog.Job()->firstStepAt),
                dialog.Job()->stepsDone.load());
  }
  EXPECT_GT(changedMidway, 500) << "outlines on the screen at step " << stepsMidway;
  EXPECT_EQ(dialogRect.left, 212);
  EXPECT_EQ(dialogRect.top, 84);
  EXPECT_EQ(dialogRect.right - dialogRect.left, 600);
  EXPECT_TRUE(dialog.Job()->completed);
  EXPECT_EQ(dialog.Job()->stepsDone.load(), kZoomOutlineSteps + kZoomRectSteps);
  EXPECT_EQ(dialog.Job()->revealState.load(), 0);
  // The canvas's last picture is the snapshot again: drawn twice with XOR.
  Sleep(100);
  DWORD pumpEnd = GetTickCount();
  while (GetTickCount() - pumpEnd < 200) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  ScreenPixels after(canvas);
  EXPECT_EQ(after.Differences(before), 0);
  HDC memory = CreateCompatibleDC(nullptr);
  DestroyWindow(pattern);
  DeleteDC(memory);
}

// However late the UI thread gets to the end, the worker draws at most the step it
// is in once the stop has been asked for, and has ended when the dialog is gone.
TEST(ZoomIntro, EndingTheDialogStopsTheWorkerWithinAStep) {
  RECT target = {100, 100, 500, 400};
  CZoomIntroDlg dialog(target);
  std::atomic<int> stepsAfterStop{0};
  dialog.Job()->frameShown = [&](int) {
    if (dialog.Job()->StopRequested()) ++stepsAfterStop;
  };
  int stepsAtEnd = 0;
  DWORD endedAt = 0;
  {
    Driver driver([&] {
      WaitFor([&] { return dialog.Job()->stepsDone.load() >= 10; }, 5000);
      stepsAtEnd = dialog.Job()->stepsDone.load();
      endedAt = GetTickCount();
      PostMessageW(dialog.Job()->dialog, WM_ZOOM_DONE, 0, 0);
    });
    dialog.DoModal(nullptr);
  }
  DWORD took = GetTickCount() - endedAt;
  EXPECT_FALSE(dialog.Job()->completed);
  EXPECT_EQ(dialog.Job()->revealState.load(), 0) << "the worker has ended";
  EXPECT_LE(stepsAfterStop.load(), 1);
  std::printf("zoom ended at step %d: dialog gone %lu ms later, %d steps in all\n", stepsAtEnd,
              static_cast<unsigned long>(took), dialog.Job()->stepsDone.load());
}

}  // namespace

// Looks at (and nudges) a running rodeo.exe from another process of the same Wine
// prefix, for the driven tests: prints one line per command.
//   window_probe state      "found 1 client 400x336 title ... buttons 7 start 1 stop 0 checked 0 reset 0 iconic 0 foreground 1"
//   window_probe minimize   minimises the window
//   window_probe foreground brings it to the front (as the system would on a click)
//   window_probe elsewhere  opens a window of its own in front for a moment, then ends
//   window_probe messagebox prints the text of the frame's message box, if one is open
//   window_probe dismiss    the same, then presses the box's OK
//   window_probe label      "label 1" while a popup owned by the frame (the hover label) shows
//   window_probe close      posts WM_CLOSE to the frame
//   window_probe closebox   posts the close box's WM_SYSCOMMAND SC_CLOSE
//   window_probe rect [FILE] the frame's outer rectangle on the screen (also into FILE)
//   window_probe record FILE ARG  writes ARG into FILE (an "open" verb for the help test)
//   window_probe dialog     the frontmost dialog of the frame's thread: "dialog 1 caption ... rect L T R B",
//                           then one line per control "item ID enabled L T R B text" (screen pixels)
//   window_probe move X Y   moves the frame's top left corner to X, Y
//   window_probe endsession sends the end of the session (WM_QUERYENDSESSION, WM_ENDSESSION TRUE)
//   window_probe kill       ends the frame's process at once, as the end of a session does
//   window_probe watchzoom FILE MS  waits up to MS ms for the frame and follows its start-up:
//                           "zoom 1 rect L T R B framehidden 1 frame L T R B" (the captionless popup
//                           seen before the frame shows; the frame's rectangle once shown); FILE
//                           says "watching" once it watches, then "zoom" as soon as the popup shows
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t kTitle[] = L"ポムルのロデオ";

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

// The frame: a top-level window with the title whose child 100 is the bar.
HWND FindFrame() {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t title[64] = {};
        GetWindowTextW(w, title, 64);
        if (std::wstring(title) == kTitle && GetDlgItem(w, 100)) {
          reinterpret_cast<Search*>(p)->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A window of this process owned by the frame's thread: a message box.
HWND FindMessageBox(HWND frame) {
  DWORD thread = GetWindowThreadProcessId(frame, nullptr);
  struct Search {
    HWND frame;
    HWND found = nullptr;
  } search{frame};
  EnumThreadWindows(
      thread,
      [](HWND w, LPARAM p) -> BOOL {
        Search* s = reinterpret_cast<Search*>(p);
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        // (A box has a caption; the start-up zoom, a captionless dialog, is none.)
        if (std::wstring(cls) == L"#32770" && IsWindowVisible(w) &&
            (GetWindowLongW(w, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
          s->found = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The frontmost visible dialog of the frame's thread (the first in z-order).
HWND FindDialog(HWND frame) {
  HWND found = nullptr;
  DWORD thread = GetWindowThreadProcessId(frame, nullptr);
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(w, cls, 32);
    if (GetWindowThreadProcessId(w, nullptr) == thread && std::wstring(cls) == L"#32770" && IsWindowVisible(w)) {
      found = w;
      break;
    }
  }
  return found;
}

// A window's text, asked of its own thread (an edit control's text lives there).
std::string Text(HWND w) {
  wchar_t text[256] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &length);
  return Utf8(text);
}

// A captionless popup dialog of the frame's thread: the start-up zoom.
HWND FindZoom(HWND frame) {
  HWND dialog = FindDialog(frame);
  if (!dialog || (GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) return nullptr;
  return dialog;
}

int Flag(HWND bar, int id, int what) {
  HWND b = GetDlgItem(bar, id);
  if (!b) return -1;
  if (what == 0) return IsWindowEnabled(b) ? 1 : 0;
  if (what == 1) return static_cast<int>(SendMessageW(b, BM_GETCHECK, 0, 0));
  return IsWindowVisible(b) ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring command = argc > 1 ? argv[1] : L"state";
  if (command == L"record") {
    if (argc < 4) return 2;
    FILE* f = _wfopen(argv[2], L"wb");
    if (!f) return 1;
    std::string text = Utf8(argv[3]);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    return 0;
  }
  if (command == L"watchzoom") {
    if (argc < 4) return 2;
    DWORD end = GetTickCount() + _wtoi(argv[3]);
    HWND frame = nullptr;
    RECT zoom{}, shown{};
    int seen = 0, frameHidden = 1;
    if (FILE* f = _wfopen(argv[2], L"w")) {
      std::fputs("watching\n", f);
      std::fclose(f);
    }
    while (static_cast<int>(GetTickCount() - end) < 0) {
      if (!frame) frame = FindFrame();
      if (frame) {
        bool visible = IsWindowVisible(frame) != 0;
        if (HWND z = FindZoom(frame)) {
          if (!seen) {
            if (FILE* f = _wfopen(argv[2], L"a")) {
              std::fputs("zoom\n", f);
              std::fclose(f);
            }
          }
          seen = 1;
          GetWindowRect(z, &zoom);
          if (visible) frameHidden = 0;
        } else if (visible) {
          GetWindowRect(frame, &shown);
          break;
        }
      }
      Sleep(2);
    }
    std::printf("zoom %d rect %ld %ld %ld %ld framehidden %d frame %ld %ld %ld %ld\n", seen, zoom.left, zoom.top,
                zoom.right, zoom.bottom, frameHidden, shown.left, shown.top, shown.right, shown.bottom);
    return 0;
  }
  HWND frame = FindFrame();
  if (command == L"state") {
    if (!frame) {
      std::printf("found 0\n");
      return 0;
    }
    RECT client;
    GetClientRect(frame, &client);
    wchar_t title[64] = {};
    GetWindowTextW(frame, title, 64);
    HWND bar = GetDlgItem(frame, 100);
    int shown = 0;
    for (int id : {1000, 1001, 1002, 1004, 1011, 1006, 1007}) shown += Flag(bar, id, 2) == 1;
    LONG style = GetWindowLongW(frame, GWL_STYLE);
    std::printf("found 1 client %ldx%ld title %s buttons %d start %d stop %d checked %d reset %d iconic %d "
                "foreground %d sizable %d maximizable %d\n",
                client.right, client.bottom, Utf8(title).c_str(), shown, Flag(bar, 1000, 0), Flag(bar, 1001, 0),
                Flag(bar, 1001, 1), Flag(bar, 1002, 0), IsIconic(frame) ? 1 : 0,
                GetForegroundWindow() == frame ? 1 : 0, (style & WS_THICKFRAME) ? 1 : 0,
                (style & WS_MAXIMIZEBOX) ? 1 : 0);
    return 0;
  }
  if (!frame) return 1;
  if (command == L"minimize") {
    ShowWindow(frame, SW_MINIMIZE);
  } else if (command == L"foreground") {
    SetForegroundWindow(frame);
  } else if (command == L"elsewhere") {
    HWND w = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(w);
    DWORD end = GetTickCount() + (argc > 2 ? _wtoi(argv[2]) : 1000);
    MSG msg;
    while (static_cast<int>(GetTickCount() - end) < 0) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
    DestroyWindow(w);
  } else if (command == L"close") {
    PostMessageW(frame, WM_CLOSE, 0, 0);
  } else if (command == L"closebox") {
    PostMessageW(frame, WM_SYSCOMMAND, SC_CLOSE, 0);  // what the close box sends
  } else if (command == L"rect") {
    RECT r;
    GetWindowRect(frame, &r);
    std::printf("rect %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    // Inside a virtual desktop the output does not come back: a file does.
    if (argc > 2) {
      if (FILE* f = _wfopen(argv[2], L"w")) {
        std::fprintf(f, "rect %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        std::fclose(f);
      }
    }
  } else if (command == L"label") {
    struct Search {
      HWND frame;
      int shown = 0;
    } search{frame};
    EnumThreadWindows(
        GetWindowThreadProcessId(frame, nullptr),
        [](HWND w, LPARAM p) -> BOOL {
          Search* s = reinterpret_cast<Search*>(p);
          wchar_t cls[32] = {};
          GetClassNameW(w, cls, 32);
          if (w != s->frame && GetWindow(w, GW_OWNER) == s->frame && IsWindowVisible(w) &&
              std::wstring(cls) != L"#32770")
            ++s->shown;
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    std::printf("label %d\n", search.shown);
  } else if (command == L"dialog") {
    HWND dialog = FindDialog(frame);
    if (!dialog) {
      std::printf("dialog 0\n");
      return 0;
    }
    RECT r;
    GetWindowRect(dialog, &r);
    std::printf("dialog 1 caption %s rect %ld %ld %ld %ld\n", Text(dialog).c_str(), r.left, r.top, r.right, r.bottom);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      GetWindowRect(c, &r);
      std::printf("item %d %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(c), IsWindowEnabled(c) ? 1 : 0, r.left, r.top,
                  r.right, r.bottom, Text(c).c_str());
    }
  } else if (command == L"move") {
    if (argc < 4) return 2;
    SetWindowPos(frame, nullptr, _wtoi(argv[2]), _wtoi(argv[3]), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else if (command == L"endsession") {
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &answer);
    LRESULT sent = SendMessageTimeoutW(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, nullptr);
    std::printf("endsession %d query %d\n", sent ? 1 : 0, static_cast<int>(answer));
  } else if (command == L"kill") {
    DWORD process = 0;
    GetWindowThreadProcessId(frame, &process);
    HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, process);
    if (!h) return 1;
    TerminateProcess(h, 9);
    WaitForSingleObject(h, 10000);
    CloseHandle(h);
  } else if (command == L"messagebox" || command == L"dismiss") {
    HWND box = FindMessageBox(frame);
    std::wstring text;
    if (box) {
      for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[32] = {}, t[256] = {};
        GetClassNameW(c, cls, 32);
        GetWindowTextW(c, t, 256);
        if (std::wstring(cls) == L"Static" && t[0]) text = t;
      }
      wchar_t caption[64] = {};
      GetWindowTextW(box, caption, 64);
      std::printf("box 1 caption %s text %s\n", Utf8(caption).c_str(), Utf8(text).c_str());
      if (command == L"dismiss") PostMessageW(box, WM_COMMAND, IDOK, 0);
    } else {
      std::printf("box 0\n");
    }
  }
  return 0;
}

// Looks at (and nudges) a running rodeo.exe from another process of the same Wine
// prefix, for the driven tests: prints one line per command.
//   window_probe state      "found 1 client 400x336 title ... buttons 7 start 1 stop 0 checked 0 reset 0 iconic 0 foreground 1
//                           ... front frame loop none": front names the foreground window (frame, elsewhere,
//                           none or other); loop is the frame thread's system loop (move, menu or none)
//   window_probe minimize   minimises the window
//   window_probe foreground brings it to the front (as the system would on a click)
//   window_probe elsewhere [MS [GO]]  opens a window of its own in front for MS ms, then ends; its title
//                           "elsewhere" is set once it has taken the front. With GO (a file), it first
//                           makes GO.armed and waits until GO exists before it shows
//   window_probe closeelsewhere  closes that window (its process then ends)
//   window_probe messagebox prints the text of the frame's message box, if one is open
//   window_probe dismiss    the same, then presses the box's OK
//   window_probe label      "label 1" while a popup owned by the frame (the hover label) shows
//   window_probe hover ID   rests the pointer in the view until no label shows, then moves it onto bar
//                           button ID and watches: "hover shown 1 after MS" (ms from the move until the
//                           label showed) or "hover shown 0" (none within 5 s)
//   window_probe syscommand move|menu  posts the frame WM_SYSCOMMAND SC_MOVE (from the keyboard) or
//                           SC_MOUSEMENU (the system menu, as a click on its icon)
//   window_probe cancel     presses Cancel (IDCANCEL) in the frontmost dialog: "cancel 1", or "cancel 0"
//   window_probe endloop    ends the frame thread's move or menu loop as ESC would: "endloop move|menu|none"
//   window_probe registry   the game's registry key HKCU\Software\ZUMRA-PELLO, one line per key and value
//   window_probe close      posts WM_CLOSE to the frame
//   window_probe closesliding FILE MS  waits up to MS ms for the frame to show with its buttons still
//                           hidden, closes it then and times the close: "closesliding sliding 1 closed 1
//                           after MS" (or "closesliding sliding 0 ..." when it showed buttons already);
//                           FILE says "watching" once it watches
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

// The system loop the frame's thread is in: the window move, a menu, or none.
const char* SystemLoop(HWND frame) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info)) return "none";
  if (info.flags & GUI_INMOVESIZE) return "move";
  if (info.flags & GUI_INMENUMODE) return "menu";
  return "none";
}

// A menu of the frame's thread shows (the popup of the system menu).
bool MenuShown(HWND frame) {
  bool shown = false;
  EnumThreadWindows(
      GetWindowThreadProcessId(frame, nullptr),
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[32] = {};
        GetClassNameW(w, cls, 32);
        if (std::wstring(cls) == L"#32768" && IsWindowVisible(w)) *reinterpret_cast<bool*>(p) = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// Which window is in front: the frame, the probe's own "elsewhere" window, none, or another.
const char* Front(HWND frame) {
  HWND front = GetForegroundWindow();
  if (!front) return "none";
  if (front == frame) return "frame";
  wchar_t title[32] = {};
  GetWindowTextW(front, title, 32);
  return std::wstring(title) == L"elsewhere" ? "elsewhere" : "other";
}

// Shown popups owned by the frame other than dialogs: the hover label.
int LabelsShown(HWND frame) {
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
  return search.shown;
}

double NowMs() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Every key and value under `key`, depth first: "key PATH" and "value PATH NAME TYPE HEX".
void DumpKey(HKEY key, const std::wstring& path) {
  std::printf("key %s\n", Utf8(path).c_str());
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    BYTE data[4096];
    DWORD nameLength = 256, dataLength = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    std::printf("value %s %s %lu ", Utf8(path).c_str(), Utf8(name).c_str(), type);
    for (DWORD b = 0; b < dataLength; ++b) std::printf("%02x", data[b]);
    std::printf("\n");
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    DumpKey(child, path + L"\\" + name);
    RegCloseKey(child);
  }
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
  if (command == L"closesliding") {
    // Waits for the frame to show while its buttons are still hidden (sliding in),
    // closes it at once and times the close until the window has gone.
    if (argc < 4) return 2;
    if (FILE* f = _wfopen(argv[2], L"w")) {
      std::fputs("watching\n", f);
      std::fclose(f);
    }
    DWORD end = GetTickCount() + _wtoi(argv[3]);
    HWND frame = nullptr;
    int buttons = -1;
    while (static_cast<int>(GetTickCount() - end) < 0) {
      if (!frame) frame = FindFrame();
      if (frame && IsWindowVisible(frame)) {
        buttons = 0;
        HWND bar = GetDlgItem(frame, 100);
        for (int id : {1000, 1001, 1002, 1004, 1011, 1006, 1007}) buttons += Flag(bar, id, 2) == 1;
        break;
      }
      Sleep(1);
    }
    if (buttons != 0) {
      std::printf("closesliding sliding 0 buttons %d\n", buttons);
      return 0;
    }
    double posted = NowMs();
    PostMessageW(frame, WM_CLOSE, 0, 0);
    while (IsWindow(frame) && NowMs() - posted < 30000) Sleep(1);
    std::printf("closesliding sliding 1 closed %d after %.0f\n", IsWindow(frame) ? 0 : 1, NowMs() - posted);
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
  if (command == L"registry") {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\ZUMRA-PELLO", 0, KEY_READ, &key) != ERROR_SUCCESS) {
      std::printf("nokey\n");
      return 0;
    }
    DumpKey(key, L"ZUMRA-PELLO");
    RegCloseKey(key);
    return 0;
  }
  if (command == L"closeelsewhere") {
    if (HWND w = FindWindowW(nullptr, L"elsewhere")) PostMessageW(w, WM_CLOSE, 0, 0);
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
                "foreground %d sizable %d maximizable %d front %s loop %s\n",
                client.right, client.bottom, Utf8(title).c_str(), shown, Flag(bar, 1000, 0), Flag(bar, 1001, 0),
                Flag(bar, 1001, 1), Flag(bar, 1002, 0), IsIconic(frame) ? 1 : 0,
                GetForegroundWindow() == frame ? 1 : 0, (style & WS_THICKFRAME) ? 1 : 0,
                (style & WS_MAXIMIZEBOX) ? 1 : 0, Front(frame), SystemLoop(frame));
    return 0;
  }
  if (!frame) return 1;
  if (command == L"minimize") {
    ShowWindow(frame, SW_MINIMIZE);
  } else if (command == L"foreground") {
    SetForegroundWindow(frame);
  } else if (command == L"elsewhere") {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (argc > 3) {
      // Armed: started ahead, it takes the front within a few ms of the sign.
      std::wstring go = argv[3];
      if (FILE* f = _wfopen((go + L".armed").c_str(), L"w")) std::fclose(f);
      for (DWORD end = GetTickCount() + 120000;
           GetFileAttributesW(go.c_str()) == INVALID_FILE_ATTRIBUTES && static_cast<int>(GetTickCount() - end) < 0;)
        Sleep(5);
    }
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    // Named only now: once "front elsewhere" is seen, this window takes the front no more.
    SetWindowTextW(w, L"elsewhere");
    DWORD end = GetTickCount() + (argc > 2 ? _wtoi(argv[2]) : 1000);
    MSG msg;
    while (static_cast<int>(GetTickCount() - end) < 0 && IsWindow(w)) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(10);
    }
    if (IsWindow(w)) DestroyWindow(w);
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
    std::printf("label %d\n", LabelsShown(frame));
  } else if (command == L"hover") {
    if (argc < 3) return 2;
    HWND button = GetDlgItem(GetDlgItem(frame, 100), _wtoi(argv[2]));
    if (!button) return 1;
    RECT client, target;
    GetClientRect(frame, &client);
    POINT view = {client.right / 2, (client.bottom + 36) / 2};
    ClientToScreen(frame, &view);
    SetCursorPos(view.x, view.y);
    for (DWORD end = GetTickCount() + 3000; LabelsShown(frame) && static_cast<int>(GetTickCount() - end) < 0;)
      Sleep(5);
    GetWindowRect(button, &target);
    // The pointer cannot rest on the button before this moment, so the label's
    // delay is at most what is measured from here.
    double moved = NowMs();
    SetCursorPos((target.left + target.right) / 2, (target.top + target.bottom) / 2);
    while (NowMs() - moved < 5000) {
      if (LabelsShown(frame)) {
        std::printf("hover shown 1 after %.0f\n", NowMs() - moved);
        return 0;
      }
      Sleep(1);
    }
    std::printf("hover shown 0\n");
  } else if (command == L"sysloop") {
    if (argc < 3) return 2;
    std::string loop = Utf8(argv[2]);
    HWND bar = GetDlgItem(frame, 100);
    auto paused = [&] { return Flag(bar, 1001, 0) == 1 && Flag(bar, 1001, 1) == 1 ? 1 : 0; };
    auto waitFor = [&](auto done) {
      for (DWORD end = GetTickCount() + 10000; static_cast<int>(GetTickCount() - end) < 0; Sleep(5))
        if (done()) return 1;
      return 0;
    };
    if (loop == "move") {
      PostMessageW(frame, WM_SYSCOMMAND, SC_MOVE, 0);
    } else {
      RECT r;
      GetWindowRect(frame, &r);
      PostMessageW(frame, WM_SYSCOMMAND, SC_MOUSEMENU | HTSYSMENU, MAKELPARAM(r.left + 8, r.top + 8));
    }
    int entered = waitFor([&] { return SystemLoop(frame) == loop; });
    int pausedInLoop = entered ? paused() : 0;
    // ESC ends the move; in the menu a first ESC closes an open popup and a second
    // ends the menu. Each ESC only into a running loop, once the one before has
    // acted: outside the loops ESC is the program's Exit key.
    int ended = 0;
    for (int i = 0; entered && i < 3; ++i) {
      bool popup = MenuShown(frame);
      PostMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 1);
      if (!waitFor([&] { return std::string(SystemLoop(frame)) == "none" || (popup && !MenuShown(frame)); })) break;
      if (std::string(SystemLoop(frame)) == "none") {
        ended = 1;
        break;
      }
    }
    int resumed = ended && waitFor([&] { return !paused(); });
    std::printf("sysloop %s entered %d paused %d ended %d resumed %d\n", loop.c_str(), entered, pausedInLoop, ended,
                resumed);
  } else if (command == L"cancel") {
    HWND dialog = FindDialog(frame);
    if (dialog && (GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      std::printf("cancel 1\n");
    } else {
      std::printf("cancel 0\n");
    }
  } else if (command == L"endloop") {
    // Only into a running loop: elsewhere ESC is the program's Exit key.
    const char* loop = SystemLoop(frame);
    if (std::string(loop) != "none") PostMessageW(frame, WM_KEYDOWN, VK_ESCAPE, 1);
    std::printf("endloop %s\n", loop);
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

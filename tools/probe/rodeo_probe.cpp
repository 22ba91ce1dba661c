// rodeo_probe.exe: looks at a running rodeo.exe from outside, for the figures and
// the soak scripts (run it in the same Wine prefix and desktop as the game).
//   rodeo_probe.exe find     the game's frame: "frame=HWND pid=N x=.. y=.. w=.. h=.."
//                            and where its view shows the game's 400 x 300 picture:
//                            "view x=.. y=.." (screen coordinates),
//                            and how many of the control bar's buttons show: "bar buttons=N"
//   rodeo_probe.exe counts   the game process's memory, GDI and USER objects, handles
//   rodeo_probe.exe boxes    every message box or dialog the game shows, one a line:
//                            "box: kind=message|dialog edit=0|1 caption=... text=...",
//                            then "boxes=N game=idle|playing" (playing: a ride is on,
//                            running or paused; the bar's Start button is disabled)
//   rodeo_probe.exe controls every dialog the game shows and its controls, one a line, with
//                            their places on the screen and their texts (an edit's as typed):
//                            "dialog: caption=... x=.. y=.. w=.. h=.."
//                            "control: id=N class=... enabled=0|1 x=.. y=.. w=.. h=.. text=..."
//   rodeo_probe.exe close    asks the frame to close (WM_CLOSE), as its close box does
// Prints "none" and exits 1 when no game window is there. A second argument names a
// file to write to instead: a program that explorer starts in a Wine virtual
// desktop has no standard output of its caller's, and explorer does not wait for
// it. The file appears whole when the probe is done (written beside, then renamed).
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const wchar_t kTitle[] = L"ポムルのロデオ";

std::string Utf8(const wchar_t* text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string s(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, &s[0], n, nullptr, nullptr);
  return s;
}

std::wstring Text(HWND w) {
  wchar_t buf[512] = {};
  GetWindowTextW(w, buf, 512);
  return buf;
}

std::wstring ClassOf(HWND w) {
  wchar_t buf[128] = {};
  GetClassNameW(w, buf, 128);
  return buf;
}

struct Found {
  HWND frame = nullptr;
  HWND view = nullptr;
};

// The view is the frame's first pane (id 0xE900), 400 x 300 with its static edge
// (its client area is 398 x 298).
BOOL CALLBACK FindView(HWND child, LPARAM param) {
  RECT r;
  GetWindowRect(child, &r);
  if (GetDlgCtrlID(child) == 0xE900 && r.right - r.left == 400 && r.bottom - r.top == 300 &&
      IsWindowVisible(child)) {
    reinterpret_cast<Found*>(param)->view = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindFrame(HWND w, LPARAM param) {
  Found* found = reinterpret_cast<Found*>(param);
  if (!IsWindowVisible(w) || Text(w).compare(0, wcslen(kTitle), kTitle) != 0) return TRUE;
  if (ClassOf(w) == L"#32770") return TRUE;  // a message box with the game's caption
  Found f;
  f.frame = w;
  EnumChildWindows(w, FindView, reinterpret_cast<LPARAM>(&f));
  if (!f.view) return TRUE;
  *found = f;
  return FALSE;
}

Found FindGame() {
  Found f;
  EnumWindows(FindFrame, reinterpret_cast<LPARAM>(&f));
  return f;
}

struct WindowCount {
  DWORD pid;
  int windows;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
  ++reinterpret_cast<WindowCount*>(param)->windows;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM param) {
  WindowCount* c = reinterpret_cast<WindowCount*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != c->pid) return TRUE;
  ++c->windows;
  EnumChildWindows(w, CountChild, param);
  return TRUE;
}

// Wine keeps a process's GDI objects in a table that its PEB points to (the field
// Windows has as GdiSharedHandleTable); live entries have a type, stock objects a flag.
int WineGdiObjects(HANDLE process) {
  using QueryFn = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
  ULONG_PTR table = 0;
  SIZE_T got = 0;
  const size_t kGdiTableOffset = 0xF8;  // 64-bit PEB
  if (!ReadProcessMemory(process, reinterpret_cast<char*>(info.PebBaseAddress) + kGdiTableOffset, &table,
                         sizeof table, &got) || !table)
    return -1;
  const size_t kEntries = 0x10000, kEntrySize = 24;
  std::vector<unsigned char> entries(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(table), entries.data(), entries.size(), &got)) return -1;
  int live = 0;
  for (size_t i = 0; i < got / kEntrySize; ++i) {
    const unsigned char* e = &entries[i * kEntrySize];
    bool stock = e[12] & 0x80;
    if (e[14] != 0 && !stock) ++live;
  }
  return live;
}

// Handles of one process from the system's list of every handle (Wine answers 0 to
// GetProcessHandleCount, but keeps this list in its server).
long HandlesFromSystemList(DWORD pid) {
  using QueryFn = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return -1;
  struct Entry {  // SYSTEM_HANDLE_ENTRY
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ULONG access;
  };
  std::vector<unsigned char> buf(1 << 20);
  ULONG need = 0;
  const ULONG kSystemHandleInformation = 16;
  for (int tries = 0; tries < 6; ++tries) {
    NTSTATUS status = query(kSystemHandleInformation, buf.data(), static_cast<ULONG>(buf.size()), &need);
    if (status == 0) {
      ULONG count = *reinterpret_cast<ULONG*>(buf.data());
      const Entry* e = reinterpret_cast<const Entry*>(buf.data() + sizeof(ULONG_PTR));
      long mine = 0;
      for (ULONG i = 0; i < count; ++i) mine += e[i].ownerPid == pid;
      return mine;
    }
    buf.resize(std::max<size_t>(buf.size() * 2, need + 4096));
  }
  return -1;
}

int Counts(const Found& f) {
  DWORD pid = 0;
  GetWindowThreadProcessId(f.frame, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) {
    std::printf("error: cannot open process %lu\n", pid);
    return 1;
  }
  PROCESS_MEMORY_COUNTERS_EX mem{};
  mem.cb = sizeof mem;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&mem), sizeof mem);
  DWORD handles = 0;
  GetProcessHandleCount(process, &handles);
  long handleCount = handles ? static_cast<long>(handles) : HandlesFromSystemList(pid);
  SetLastError(0);
  DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  bool guiKnown = gdi != 0 || user != 0;  // Wine's GetGuiResources answers 0
  WindowCount windows{pid, 0};
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&windows));
  // Wine leaves PrivateUsage at 0; PagefileUsage is the private commit there too.
  size_t privateBytes = mem.PrivateUsage ? mem.PrivateUsage : mem.PagefileUsage;
  std::printf("pid=%lu working_set_kb=%zu private_kb=%zu peak_working_set_kb=%zu handles=%ld", pid,
              mem.WorkingSetSize / 1024, privateBytes / 1024, mem.PeakWorkingSetSize / 1024, handleCount);
  if (guiKnown) {
    std::printf(" gdi=%lu user=%lu", gdi, user);
  } else {
    // Wine: GDI objects counted in the process's own table, and for USER objects
    // the windows, which are what a leak of them would mostly be.
    std::printf(" gdi=%d user=n/a", WineGdiObjects(process));
  }
  std::printf(" windows=%d\n", windows.windows);
  CloseHandle(process);
  return 0;
}

struct BoxSearch {
  DWORD pid;
  int seen;
};

struct BoxContent {
  std::wstring texts;
  bool message = false;  // a message box: its text control has the id 0xFFFF
  bool edit = false;     // a field to type into (the new-record dialog's name)
};

BOOL CALLBACK BoxText(HWND child, LPARAM param) {
  BoxContent* box = reinterpret_cast<BoxContent*>(param);
  std::wstring cls = ClassOf(child), text = Text(child);
  if (_wcsicmp(cls.c_str(), L"Edit") == 0) box->edit = true;
  if (_wcsicmp(cls.c_str(), L"Static") == 0 && GetDlgCtrlID(child) == 0xFFFF) box->message = true;
  // Icon and picture statics have a resource name, not a text.
  LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
  bool picture = type == SS_ICON || type == SS_BITMAP;
  if (_wcsicmp(cls.c_str(), L"Static") == 0 && !text.empty() && !picture) {
    if (!box->texts.empty()) box->texts += L" / ";
    box->texts += text;
  }
  return TRUE;
}

BOOL CALLBACK FindBoxes(HWND w, LPARAM param) {
  BoxSearch* s = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != s->pid || !IsWindowVisible(w) || ClassOf(w) != L"#32770") return TRUE;
  BoxContent box;
  EnumChildWindows(w, BoxText, reinterpret_cast<LPARAM>(&box));
  std::printf("box: kind=%s edit=%d caption=%s text=%s\n", box.message ? "message" : "dialog", box.edit ? 1 : 0,
              Utf8(Text(w).c_str()).c_str(), Utf8(box.texts.c_str()).c_str());
  ++s->seen;
  return TRUE;
}

// A control's text as its window procedure gives it (for an edit, what was typed;
// GetWindowText of another process's window only gives the caption stored with it).
std::wstring ControlText(HWND w) {
  wchar_t buf[512] = {};
  DWORD_PTR got = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, &got);
  return buf;
}

BOOL CALLBACK ListControl(HWND child, LPARAM) {
  RECT r;
  GetWindowRect(child, &r);
  std::printf("control: id=%d class=%s enabled=%d x=%ld y=%ld w=%ld h=%ld text=%s\n", GetDlgCtrlID(child),
              Utf8(ClassOf(child).c_str()).c_str(), IsWindowEnabled(child) ? 1 : 0, r.left, r.top,
              r.right - r.left, r.bottom - r.top, Utf8(ControlText(child).c_str()).c_str());
  return TRUE;
}

BOOL CALLBACK ListDialog(HWND w, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != static_cast<DWORD>(param) || !IsWindowVisible(w) || ClassOf(w) != L"#32770") return TRUE;
  RECT r;
  GetWindowRect(w, &r);
  std::printf("dialog: caption=%s x=%ld y=%ld w=%ld h=%ld\n", Utf8(Text(w).c_str()).c_str(), r.left, r.top,
              r.right - r.left, r.bottom - r.top);
  EnumChildWindows(w, ListControl, 0);
  return TRUE;
}

BOOL CALLBACK FindStart(HWND child, LPARAM param) {
  if (GetDlgCtrlID(child) != 1000 || ClassOf(child) == L"#32770") return TRUE;
  *reinterpret_cast<HWND*>(param) = child;
  return FALSE;
}

HWND FindStartButton(HWND frame) {
  HWND start = nullptr;
  EnumChildWindows(frame, FindStart, reinterpret_cast<LPARAM>(&start));
  return start;
}

}  // namespace

int Probe(const wchar_t* what) {
  Found f = FindGame();
  if (!f.frame) {
    std::printf("none\n");
    return 1;
  }
  if (!wcscmp(what, L"find")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(f.frame, &pid);
    RECT r;
    GetWindowRect(f.frame, &r);
    POINT v{0, 0};  // where the game's picture starts: the view's client area
    ClientToScreen(f.view, &v);
    std::printf("frame=%p pid=%lu x=%ld y=%ld w=%ld h=%ld\n", static_cast<void*>(f.frame), pid, r.left, r.top,
                r.right - r.left, r.bottom - r.top);
    std::printf("view x=%ld y=%ld\n", v.x, v.y);
    int buttons = 0;
    if (HWND bar = GetDlgItem(f.frame, 100)) {
      for (int id : {1000, 1001, 1002, 1004, 1011, 1006, 1007}) {  // Start ... Exit
        HWND b = GetDlgItem(bar, id);
        buttons += b && IsWindowVisible(b) ? 1 : 0;
      }
    }
    std::printf("bar buttons=%d\n", buttons);
    return 0;
  }
  if (!wcscmp(what, L"counts")) return Counts(f);
  if (!wcscmp(what, L"boxes")) {
    BoxSearch s{0, 0};
    GetWindowThreadProcessId(f.frame, &s.pid);
    EnumWindows(FindBoxes, reinterpret_cast<LPARAM>(&s));
    // The bar's Start button (id 1000) is enabled only while no ride is on.
    HWND start = FindStartButton(f.frame);
    std::printf("boxes=%d game=%s\n", s.seen, !start ? "unknown" : IsWindowEnabled(start) ? "idle" : "playing");
    return 0;
  }
  if (!wcscmp(what, L"controls")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(f.frame, &pid);
    EnumWindows(ListDialog, static_cast<LPARAM>(pid));
    return 0;
  }
  if (!wcscmp(what, L"close")) {
    PostMessageW(f.frame, WM_CLOSE, 0, 0);
    return 0;
  }
  std::printf("usage: rodeo_probe.exe find|counts|boxes|controls|close [OUTPUT]\n");
  return 2;
}

int wmain(int argc, wchar_t** argv) {
  const wchar_t* what = argc > 1 ? argv[1] : L"find";
  if (argc < 3) return Probe(what);
  std::wstring part = std::wstring(argv[2]) + L".part";
  if (!_wfreopen(part.c_str(), L"w", stdout)) return 3;
  int status = Probe(what);
  std::fclose(stdout);
  MoveFileExW(part.c_str(), argv[2], MOVEFILE_REPLACE_EXISTING);
  return status;
}

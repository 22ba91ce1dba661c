// Host services: the game's only door to the shell. The main frame implements it.
#pragma once

struct HWND__;  // the platform's window handle (HWND on Windows)
typedef HWND__* KlWindow;

class CMgHost {
 public:
  virtual KlWindow GetViewWindow() = 0;         // the child window showing the 400 x 300 view
  virtual void RequestState(int request) = 0;   // 0 stop, 1 start, 2 pause toggle
  virtual int GetState() = 0;                   // 0 idle, 1 running, 2 paused
  virtual void ReportResult(const char* text, int value) = 0;  // copied, handled later
  virtual void SetTickInterval(int milliseconds) = 0;
  virtual int GetTickInterval() = 0;
  virtual const char* GetAssetPath(const char* fileName) = 0;  // path of the unpacked file

  // Closes the application: with a message, hides the main window and shows it in a
  // "強制終了" box first. Engine code; the engine itself passes null only.
  void Quit(const char* message);

 protected:
  ~CMgHost() {}
};

// The host the engine talks to. The frame registers itself before the engine's Init.
CMgHost* GetMgHost();
void SetMgHost(CMgHost* host);

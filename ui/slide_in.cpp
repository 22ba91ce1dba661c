#include "ui/slide_in.h"

#include <cstdlib>
#include <ctime>

#include "ui/bar_layout.h"
#include "ui/transparent_blit.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const int kPictureWidth = 170;
const int kPictureHeight = 66;
const UINT kTremblingPictures[3] = {159, 160, 161};
const DWORD kMinimumMs = 1850;
const DWORD kFrameMs = 16;

struct Trembler {
  HBITMAP picture;
  int x, y;
};

void Tremble(Trembler (&pictures)[3], const RECT& view) {
  for (Trembler& t : pictures) {
    t.x = bar::TremblingX(view.right - view.left, std::rand() % 5);
    t.y = bar::TremblingY(view.bottom - view.top, std::rand() % 5);
  }
}

// Everything the frames draw with, released in one place.
struct Canvas {
  HDC frameDc = nullptr;
  HDC buttons = nullptr, view = nullptr, source = nullptr, mask = nullptr;
  HBITMAP buttonsBitmap = nullptr, viewBitmap = nullptr, maskBitmap = nullptr;
  HGDIOBJ oldButtons = nullptr, oldView = nullptr, oldMask = nullptr, oldSource = nullptr;
  Trembler pictures[3] = {};
  HWND frame;

  Canvas(const SlideInJob& job) : frame(job.frame) {
    frameDc = GetDCEx(frame, nullptr, DCX_CACHE);  // not clipped by the hidden children
    if (!frameDc) return;
    buttons = CreateCompatibleDC(frameDc);
    view = CreateCompatibleDC(frameDc);
    source = CreateCompatibleDC(frameDc);
    mask = CreateCompatibleDC(frameDc);
    buttonsBitmap = CreateCompatibleBitmap(frameDc, job.canvasWidth, job.canvasHeight);
    viewBitmap = CreateCompatibleBitmap(frameDc, job.view.right - job.view.left,
                                        job.view.bottom - job.view.top);
    maskBitmap = CreateBitmap(kPictureWidth, kPictureHeight, 1, 1, nullptr);
    oldButtons = SelectObject(buttons, buttonsBitmap);
    oldView = SelectObject(view, viewBitmap);
    oldMask = SelectObject(mask, maskBitmap);
    oldSource = GetCurrentObject(source, OBJ_BITMAP);
    for (int i = 0; i < 3; ++i) {
      pictures[i].picture = static_cast<HBITMAP>(
          LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTremblingPictures[i]), IMAGE_BITMAP,
                     0, 0, LR_DEFAULTCOLOR));
    }
  }
  ~Canvas() {
    if (!frameDc) return;
    SelectObject(buttons, oldButtons);
    SelectObject(view, oldView);
    SelectObject(mask, oldMask);
    SelectObject(source, oldSource);
    for (Trembler& t : pictures)
      if (t.picture) DeleteObject(t.picture);
    DeleteObject(buttonsBitmap);
    DeleteObject(viewBitmap);
    DeleteObject(maskBitmap);
    DeleteDC(buttons);
    DeleteDC(view);
    DeleteDC(source);
    DeleteDC(mask);
    ReleaseDC(frame, frameDc);
  }
  bool Ready() const { return frameDc && buttonsBitmap && viewBitmap && maskBitmap; }

  void DrawPicture(HDC target, HBITMAP picture, int x, int y, int width, int height, COLORREF key) {
    SelectObject(source, picture);
    DrawTransparent(target, x, y, source, width, height, key, mask);
    SelectObject(source, oldSource);
  }
};

// Runs the frames; true when the animation ran to its end, false on a stop request.
bool Animate(SlideInJob& job, Canvas& canvas) {
  double position[SlideInJob::kButtonCount];
  double speed[SlideInJob::kButtonCount];
  for (int i = 0; i < SlideInJob::kButtonCount; ++i) {
    position[i] = job.start.x;
    speed[i] = job.buttons[i].target / 15.0;
  }
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  Tremble(canvas.pictures, job.view);
  int viewWidth = job.view.right - job.view.left;
  int viewHeight = job.view.bottom - job.view.top;
  RECT buttonArea = {0, 0, job.canvasWidth, job.canvasHeight};
  RECT viewArea = {0, 0, viewWidth, viewHeight};
  DWORD startTime = GetTickCount();
  bool anyMoved = true;
  for (int frame = 0;; ++frame) {
    if (!anyMoved && GetTickCount() - startTime >= kMinimumMs) return true;
    DWORD frameStart = GetTickCount();
    FillRect(canvas.buttons, &buttonArea, GetSysColorBrush(COLOR_BTNFACE));
    anyMoved = false;
    for (int i = 0; i < SlideInJob::kButtonCount; ++i) {
      const SlideInJob::Button& b = job.buttons[i];
      // Canvas x 0 is the Start button's left edge.
      if (b.picture)
        canvas.DrawPicture(canvas.buttons, b.picture, static_cast<int>(position[i]) - job.start.x, 3,
                           b.width, b.height, kMagenta);
      bool moved = false;
      position[i] = bar::SlideStep(position[i], b.target, speed[i], &moved);
      anyMoved = anyMoved || moved;
    }
    BitBlt(canvas.frameDc, job.barOrigin.x + job.start.x, job.barOrigin.y + job.start.y,
           job.canvasWidth, job.canvasHeight, canvas.buttons, 0, 0, SRCCOPY);
    if (frame % 2 == 0) {
      FillRect(canvas.view, &viewArea, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      for (int i = 2; i >= 0; --i) {  // 161, 160, then 159 on top
        const Trembler& t = canvas.pictures[i];
        if (t.picture)
          canvas.DrawPicture(canvas.view, t.picture, t.x, t.y, kPictureWidth, kPictureHeight, RGB(0, 0, 0));
      }
      Tremble(canvas.pictures, job.view);
    }
    BitBlt(canvas.frameDc, job.view.left, job.view.top, viewWidth, viewHeight, canvas.view, 0, 0, SRCCOPY);
    while (GetTickCount() - frameStart < kFrameMs) Sleep(1);
    if (job.revealState.load() == SlideInJob::kStopRequested) return false;
  }
}

DWORD WINAPI SlideInThread(void* parameter) {
  std::shared_ptr<SlideInJob> job(*static_cast<std::shared_ptr<SlideInJob>*>(parameter));
  delete static_cast<std::shared_ptr<SlideInJob>*>(parameter);
  Sleep(50);
  if (job->revealState.load() != SlideInJob::kRunning) {
    job->revealState = SlideInJob::kIdle;
    return 0;
  }
  bool completed;
  {
    Canvas canvas(*job);
    // Without a canvas there is nothing to animate; the bar still opens.
    completed = !canvas.Ready() || Animate(*job, canvas);
  }
  if (completed) {
    // The UI thread shows the buttons and sets revealState back to idle.
    if (!PostMessageW(job->bar, job->doneMessage, 0, 0)) job->revealState = SlideInJob::kIdle;
  } else {
    job->revealState = SlideInJob::kIdle;
  }
  return 0;
}

}  // namespace

HANDLE StartSlideInWorker(std::shared_ptr<SlideInJob> job) {
  job->revealState = SlideInJob::kRunning;
  auto* parameter = new std::shared_ptr<SlideInJob>(job);
  HANDLE thread = CreateThread(nullptr, 0, SlideInThread, parameter, 0, nullptr);
  if (!thread) {
    delete parameter;
    job->revealState = SlideInJob::kIdle;
  }
  return thread;
}

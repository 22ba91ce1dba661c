#include "ui/slide_in.h"

#include <cstdlib>
#include <ctime>

#include "ui/bar_layout.h"
#include "ui/transparent_blit.h"

namespace {

using win32::GdiObject;
using win32::MemoryDc;
using win32::SelectedObject;

const COLORREF kMagenta = RGB(255, 0, 255);
const int kPictureWidth = 170;
const int kPictureHeight = 66;
const UINT kTremblingPictures[3] = {159, 160, 161};
const int kButtonRow = 3;  // the pictures' top on the button canvas

// The frame's client context from the cache: not clipped by its children, so the
// frames land on the bar and the view.
class FrameDc {
 public:
  explicit FrameDc(HWND frame) : frame_(frame), dc_(GetDCEx(frame, nullptr, DCX_CACHE)) {}
  ~FrameDc() {
    if (dc_) ReleaseDC(frame_, dc_);
  }
  FrameDc(const FrameDc&) = delete;
  FrameDc& operator=(const FrameDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND frame_;
  HDC dc_;
};

struct Trembler {
  GdiObject<HBITMAP> picture;
  int x = 0, y = 0;
};

void Tremble(Trembler (&pictures)[3], int viewWidth, int viewHeight) {
  for (Trembler& t : pictures) {
    t.x = bar::TremblingX(viewWidth, std::rand() % 5);
    t.y = bar::TremblingY(viewHeight, std::rand() % 5);
  }
}

// What the frames are drawn with; the members go in reverse order, so every
// bitmap is deselected before it is deleted and every context before its window's
// context is given back.
struct Canvas {
  FrameDc frameDc;
  GdiObject<HBITMAP> buttonsBitmap, viewBitmap, maskBitmap;
  MemoryDc buttons, view, source, mask;
  SelectedObject buttonsSelected, viewSelected, maskSelected;
  Trembler pictures[3];

  Canvas(const SlideInJob& job, int viewWidth, int viewHeight)
      : frameDc(job.frame),
        buttonsBitmap(frameDc.get() ? CreateCompatibleBitmap(frameDc.get(), job.canvasWidth, job.canvasHeight)
                                    : nullptr),
        viewBitmap(frameDc.get() ? CreateCompatibleBitmap(frameDc.get(), viewWidth, viewHeight) : nullptr),
        maskBitmap(CreateBitmap(kPictureWidth, kPictureHeight, 1, 1, nullptr)),
        buttons(CreateCompatibleDC(frameDc.get())),
        view(CreateCompatibleDC(frameDc.get())),
        source(CreateCompatibleDC(frameDc.get())),
        mask(CreateCompatibleDC(frameDc.get())),
        buttonsSelected(buttons.get(), buttonsBitmap.get()),
        viewSelected(view.get(), viewBitmap.get()),
        maskSelected(mask.get(), maskBitmap.get()) {
    for (int i = 0; i < 3; ++i) {
      pictures[i].picture.reset(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                                MAKEINTRESOURCEW(kTremblingPictures[i]),
                                                                IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    }
  }
  bool Ready() const {
    return frameDc.get() && buttonsBitmap && viewBitmap && maskBitmap && buttons && view && source && mask;
  }

  void DrawPicture(HDC target, HBITMAP picture, int x, int y, int width, int height, COLORREF key) {
    SelectedObject selected(source.get(), picture);
    DrawTransparent(target, x, y, source.get(), width, height, key, mask.get());
  }
};

}  // namespace

void SlideInJob::SetButton(int i, HBITMAP picture, int target) {
  Button& b = buttons[i];
  b.target = target;
  b.picture.reset(picture ? static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0)) : nullptr);
  BITMAP info;
  if (b.picture && GetObjectW(b.picture.get(), sizeof info, &info)) {
    b.width = info.bmWidth;
    b.height = info.bmHeight;
  } else {
    b.picture.reset();
    b.width = b.height = 0;
  }
}

bool SlideInJob::Run() {
  // The copies of the buttons' pictures live as long as this run.
  struct ReleasePictures {
    Button* buttons;
    ~ReleasePictures() {
      for (int i = 0; i < kButtonCount; ++i) buttons[i].picture.reset();
    }
  } releasePictures{buttons};

  if (!SleepUntil(GetTickCount(), kFirstPauseMs)) return false;
  const int viewWidth = view.right - view.left;
  const int viewHeight = view.bottom - view.top;
  Canvas canvas(*this, viewWidth, viewHeight);
  // Without a canvas there is nothing to animate; the bar still opens.
  if (!canvas.Ready()) return true;

  double position[kButtonCount];
  double speed[kButtonCount];
  for (int i = 0; i < kButtonCount; ++i) {
    position[i] = start.x;
    speed[i] = buttons[i].target / 15.0;
  }
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  Tremble(canvas.pictures, viewWidth, viewHeight);
  const RECT buttonArea = {0, 0, canvasWidth, canvasHeight};
  const RECT viewArea = {0, 0, viewWidth, viewHeight};
  const DWORD startTime = GetTickCount();
  bool anyMoved = true;
  for (int frameNumber = 0;; ++frameNumber) {
    if (!anyMoved && GetTickCount() - startTime >= kMinimumMs) return true;
    const DWORD frameStart = GetTickCount();
    FillRect(canvas.buttons.get(), &buttonArea, GetSysColorBrush(COLOR_BTNFACE));
    anyMoved = false;
    for (int i = 0; i < kButtonCount; ++i) {
      const Button& b = buttons[i];
      // Positions are in bar coordinates, and so is the canvas: it is copied to the
      // bar at the Start button's corner, where each picture then sits as on its
      // button (a 24 x 24 picture centred in a 34 x 30 button).
      if (b.picture)
        canvas.DrawPicture(canvas.buttons.get(), b.picture.get(), static_cast<int>(position[i]), kButtonRow,
                           b.width, b.height, kMagenta);
      bool moved = false;
      position[i] = bar::SlideStep(position[i], b.target, speed[i], &moved);
      anyMoved = anyMoved || moved;
    }
    BitBlt(canvas.frameDc.get(), barOrigin.x + start.x, barOrigin.y + start.y, canvasWidth, canvasHeight,
           canvas.buttons.get(), 0, 0, SRCCOPY);
    if (frameNumber % 2 == 0) {
      FillRect(canvas.view.get(), &viewArea, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      for (int i = 2; i >= 0; --i) {  // 161, 160, then 159 on top
        const Trembler& t = canvas.pictures[i];
        if (t.picture)
          canvas.DrawPicture(canvas.view.get(), t.picture.get(), t.x, t.y, kPictureWidth, kPictureHeight,
                             RGB(0, 0, 0));
      }
      Tremble(canvas.pictures, viewWidth, viewHeight);
    }
    BitBlt(canvas.frameDc.get(), view.left, view.top, viewWidth, viewHeight, canvas.view.get(), 0, 0, SRCCOPY);
    GdiFlush();
    FrameShown(frameNumber);
    if (!SleepUntil(frameStart, kFrameMs)) return false;
  }
}

void SlideInJob::Completed() {
  // The bar shows the buttons and tells the frame, on its own thread.
  PostMessageW(bar, doneMessage, 0, 0);
}

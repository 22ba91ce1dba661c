// The scene build: the rodeo's assets, sprites and tasks, created once on the
// engine's first step. Creation order matters: a sprite is drawn behind the older
// sprites of its priority, and tasks of equal priority run in creation order.
#include "engine/mg_host.h"
#include "game/rodeo_state.h"
#include "game/rodeo_tasks.h"
#include "media/kl_media.h"

namespace {

// The path is asked for right before each use: the host may reuse its buffer.
const char* Asset(const char* name) { return GetMgHost()->GetAssetPath(name); }

}  // namespace

// Seven empty steps and then its own end, which nothing ever advances it to.
const klStepFn IdleTaskSteps[] = {EmptyStep, EmptyStep, EmptyStep, EmptyStep,
                                  EmptyStep, EmptyStep, EmptyStep, klTaskDeleteSelf};

int LoadRodeoAssets() {
  int ok = klDrawSetPalette(Asset("bg.bmp"));
  bgSheet = klLoadObject(Asset("bg.bmp"));
  pomulSheet = klLoadObject(Asset("pomul.bmp"));
  cowSheet = klLoadObject(Asset("cow.bmp"));
  partsSheet = klLoadObject(Asset("parts.bmp"));
  if (!bgSheet || !pomulSheet || !cowSheet || !partsSheet) ok = 0;
  bgmSound = klSoundLoadObject(Asset("bgm.wav"));
  puSound = klSoundLoadObject(Asset("pu.wav"));
  readySound = klSoundLoadObject(Asset("ready.wav"));
  goSound = klSoundLoadObject(Asset("go.wav"));
  cowSound = klSoundLoadObject(Asset("cow1.wav"));
  return ok;
}

int BuildRodeoScene() {
  if (!LoadRodeoAssets()) return 0;
  CreateRodeoTask();

  coverSprite = MakeSprite(kCoverPriority, partsSheet, kTitleRect, 0, 0, true);
  captionSprite = MakeSprite(kDigitPriority, partsSheet, kCaptionRect, 276, 279, true);
  riderSprite = MakeSprite(kRiderPriority, pomulSheet,
                           RodeoRect{0, 0, PoseTable[0].width, PoseTable[0].height}, 175, 80, true);
  signSprite = MakeSprite(kSignPriority, partsSheet, kReadyRect, 0, 0, false);
  for (klSprite*& dot : ropeDots) dot = MakeSprite(kRopePriority, cowSheet, kRopeDotRect, 0, 0, false);
  for (int i = 0; i < 3; ++i) {
    bigDigits[i] = MakeSprite(kDigitPriority, partsSheet, kBigDigitRect,
                              kBigDigitX + kBigDigitPitch * i, kBigDigitY, true);
  }
  pointSprite = MakeSprite(kDigitPriority, partsSheet, kPointRect, kPointX, kPointY, true);
  for (int i = 0; i < 3; ++i) {
    smallDigits[i] = MakeSprite(kDigitPriority, partsSheet, kSmallDigitRect,
                                kSmallDigitX + kSmallDigitPitch * i, kSmallDigitY, true);
  }
  secLabel = MakeSprite(kDigitPriority, partsSheet, kSecRect, kSecX, kSecY, true);

  CreateCowTask();
  CreateBackdropTask();
  CreateRideTimerTask();
  CreateCursorTask();
  return 1;
}

void StartRodeoScene() {
  klTaskCreate(IdleTaskSteps, kRodeoPriority, 1, 1);
  BuildRodeoScene();
}

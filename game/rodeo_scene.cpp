// The scene build: the rodeo's assets, sprites and tasks, created once on the
// engine's first step. Creation order matters: a sprite is drawn behind the older
// sprites of its priority, and tasks of equal priority run in creation order.
#include "core/kl_core.h"
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

// Every load goes through klError on failure; the first such failure ends the
// loading (the program is closing, and one box is all the player sees).
int LoadRodeoAssets() {
  int ok = klDrawSetPalette(Asset("bg.bmp"));
  int* const sheets[] = {&rodeoScene.bgSheet, &rodeoScene.pomulSheet, &rodeoScene.cowSheet, &rodeoScene.partsSheet};
  const char* const sheetNames[] = {"bg.bmp", "pomul.bmp", "cow.bmp", "parts.bmp"};
  for (int i = 0; i < 4; ++i) {
    *sheets[i] = klLoadObject(Asset(sheetNames[i]));
    if (!*sheets[i]) ok = 0;
    if (klFatalRaised()) return 0;
  }
  int* const sounds[] = {&rodeoScene.bgmSound, &rodeoScene.puSound, &rodeoScene.readySound, &rodeoScene.goSound, &rodeoScene.cowSound};
  const char* const soundNames[] = {"bgm.wav", "pu.wav", "ready.wav", "go.wav", "cow1.wav"};
  for (int i = 0; i < 5; ++i) {
    *sounds[i] = klSoundLoadObject(Asset(soundNames[i]));
    if (klFatalRaised()) return 0;
  }
  return ok;
}

int BuildRodeoScene() {
  if (!LoadRodeoAssets()) return 0;
  // After a fatal error (out of memory for a sprite or a task) nothing more is
  // made: the creators below hand back null sprites and scratch work areas.
  CreateRodeoTask();
  if (klFatalRaised()) return 0;

  rodeoScene.coverSprite = MakeSprite(kCoverPriority, rodeoScene.partsSheet, kTitleRect, 0, 0, true);
  rodeoScene.captionSprite = MakeSprite(kDigitPriority, rodeoScene.partsSheet, kCaptionRect, 276, 279, true);
  rodeoScene.riderSprite = MakeSprite(kRiderPriority, rodeoScene.pomulSheet,
                           RodeoRect{0, 0, PoseTable[0].width, PoseTable[0].height}, 175, 80, true);
  rodeoScene.signSprite = MakeSprite(kSignPriority, rodeoScene.partsSheet, kReadyRect, 0, 0, false);
  for (klSprite*& dot : rodeoScene.ropeDots) dot = MakeSprite(kRopePriority, rodeoScene.cowSheet, kRopeDotRect, 0, 0, false);
  for (int i = 0; i < 3; ++i) {
    rodeoScene.bigDigits[i] = MakeSprite(kDigitPriority, rodeoScene.partsSheet, kBigDigitRect,
                              kBigDigitX + kBigDigitPitch * i, kBigDigitY, true);
  }
  rodeoScene.pointSprite = MakeSprite(kDigitPriority, rodeoScene.partsSheet, kPointRect, kPointX, kPointY, true);
  for (int i = 0; i < 3; ++i) {
    rodeoScene.smallDigits[i] = MakeSprite(kDigitPriority, rodeoScene.partsSheet, kSmallDigitRect,
                                kSmallDigitX + kSmallDigitPitch * i, kSmallDigitY, true);
  }
  rodeoScene.secLabel = MakeSprite(kDigitPriority, rodeoScene.partsSheet, kSecRect, kSecX, kSecY, true);
  if (klFatalRaised()) return 0;

  void (*const creators[])() = {CreateCowTask, CreateBackdropTask, CreateRideTimerTask, CreateCursorTask};
  for (auto create : creators) {
    create();
    if (klFatalRaised()) return 0;
  }
  return 1;
}

void StartRodeoScene() {
  rodeoScene = RodeoScene{};  // a build that stops early leaves nulls, never stale pointers
  klTaskCreate(IdleTaskSteps, kRodeoPriority, KL_RUN_MODE_ZERO, 1);
  BuildRodeoScene();
}

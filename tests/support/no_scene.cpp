// Engine tests run without the rodeo: the boot step builds an empty scene.
int bootCount = 0;
void StartRodeoScene() { ++bootCount; }

// Builds the rodeo's scene: called once by the engine's first step.
void StartRodeoScene() {}

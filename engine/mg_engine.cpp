#include "engine/mg_engine.h"

#include "engine/kl_clock.h"

void CMgEngine::Describe(MgGameDesc* desc) {
  desc->title = "ポムルのロデオ";
  desc->version = "1.00";
  desc->code = "QM100";
  desc->unitSuffix = "秒ポムル";
  desc->viewWidth = 400;
  desc->viewHeight = 300;
  desc->tickInterval = 0;
  desc->usesPack = 1;
}

int CMgEngine::Init() { return klEngineInit(); }
int CMgEngine::Shutdown() { return klEngineShutdown(); }
int CMgEngine::Tick(int active) { return klEngineTick(active); }
void CMgEngine::OnStart() {}
void CMgEngine::Stop(int stop) { klEngineStop(stop); }
void CMgEngine::Resync() { klEngineResync(); }

// The game state the host keeps and the requests that change it: one set of names
// for the engine and the game (which read it through CMgHost::GetState) and the
// shell (whose frame keeps it). Plain header, no platform.
#pragma once

// As GetState reports it.
enum MgHostState : int {
  kMgIdle = 0,     // no ride: the title, or the result after one
  kMgRunning = 1,  // a ride is on; the loop ticks
  kMgPaused = 2,   // stopped by the player, by deactivation or by modal UI: no task runs
};

// What RequestState asks for.
enum MgStateRequest : int {
  kMgRequestReset = 0,        // to idle (from 1 or 2); the host then calls Resync
  kMgRequestStart = 1,        // idle to running; the host then calls OnStart
  kMgRequestPauseToggle = 2,  // running <-> paused; the host then calls Stop(1) or Stop(0)
};

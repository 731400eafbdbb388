#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/plan_line.h"

namespace kavrel {

// Where the draw stands between two presses of the space bar. The engine alone moves it; the stage
// and the windows ask it (Rolling(), RollUnderWay(), WinnersShown()) instead of keeping a notion of
// their own.
enum class DrawPhase {
  Ready,         // the next press starts a batch (or says why it cannot)
  Rolling,       // a batch rolls; the next press stops it
  RollPaused,    // a batch's roll is frozen while the operator is asked something; it goes on or ends
  WinnersShown,  // the stopped batch's winners are on screen; the next press announces the next batch
  AllDrawn,      // "抽奖完毕！" is shown after the last batch; the next press says so and opens the winner show
  Finished,      // that press waits for its stop press, as a roll would
};

// The run-time state of the draw. One instance for the whole run, owned by the stage and passed
// by reference; the data files are the only persistent state. Texts are GB18030 bytes.
struct DrawState {
  std::vector<PlanLine> plan;     // plan lines not yet drawn, in file order
  PlanLine currentLine;           // the line being prepared or drawn
  int batchNo = 1;                // batch counter of the current award, 1 for its first batch
  int drawnInAward = 0;           // winners recorded so far for the current award
  std::string lastAwardName;      // award of the most recently recorded batch; empty after a reset
  std::vector<std::string> pool;  // remaining participant entries
  int batchSize = 0;              // currentLine's batch size, taken when a roll is prepared
  std::vector<int> batchWinners;  // 1-based pool positions picked by the latest tick

  bool drawStarted = false;  // a batch has been recorded since the last reset (or the draw was resumed)
  DrawPhase phase = DrawPhase::Ready;
  // A batch's roll has begun and is neither stopped nor ended, though it may be frozen.
  bool RollUnderWay() const { return phase == DrawPhase::Rolling || phase == DrawPhase::RollPaused; }
  // The space bar stops rather than starts: a batch rolls, or the finished stage waits for its stop.
  bool Rolling() const { return RollUnderWay() || phase == DrawPhase::Finished; }
  bool WinnersShown() const { return phase == DrawPhase::WinnersShown; }
  bool startFromActive = false;
  int startFromIndex = 0;  // 1-based plan position chosen in the start-from window
  bool groupActive = false;
  int groupStart = 0;
  int groupEnd = 0;
  bool quitConfirmed = false;  // F12's question was answered OK (the progress is kept all the same)
  bool planChanged = false;

  // The batch last recorded, kept apart from currentLine: windows that reselect currentLine while
  // the winners are on screen must not make undo name, remove or requeue another award.
  PlanLine recordedLine;
  std::string recordedAwardName;             // the award label's text at the stop
  std::vector<std::string> recordedEntries;  // its winners as recorded, unmasked
  // One undo per recorded batch: set by a stop, cleared by an undo, a reset and a resume.
  bool undoAvailable = false;

  // The draw is among those signed in: its pool was sealed from the `presentCount` entries of the list
  // present in config\signin.dat at that moment. Kept with the draw (seal, resume record), not with
  // the settings, which only decide the next fresh draw.
  bool presentOnly = false;
  long long presentCount = 0;
};

// Back to the ready phase with nothing of the last draw's transient choices left: no pending batch,
// no start-from position or award group (they refer to the old plan and pool), no plan change, quit
// or undo pending. Every full reset (a fresh draw, a resume) goes through here.
inline void ResetDrawFlags(DrawState& state) {
  state.phase = DrawPhase::Ready;
  state.batchWinners.clear();
  state.startFromActive = false;
  state.groupActive = false;
  state.planChanged = false;
  state.quitConfirmed = false;
  state.undoAvailable = false;
}

}  // namespace kavrel

#include "engine/draw_session.h"

#include <algorithm>

#include "engine/plan.h"
#include "engine/queued_batches.h"
#include "engine/start_from.h"
#include "storage/file_step.h"
#include "storage/program_dir.h"

namespace kavrel {

namespace {

// The stage while none is attached: the draw goes on, painted nowhere.
class NoStage final : public StageHooks {
 public:
  void SetText(StageElement, const std::string&) override {}
  void SetVisible(StageElement, bool) override {}
  bool IsVisible(StageElement) const override { return true; }
  void LayoutStage() override {}
  void PrepareTextRolling(int, const std::string&) override {}
  void PreparePictureRolling(int) override {}
  void ShowCandidates(const std::vector<std::string_view>&) override {}
  PictureCheck ShowPrizePicture(const std::string&) override { return {}; }
  void ShowWinnerShow() override {}
};

NoStage noStage;

}  // namespace

DrawSession::DrawSession(Prompter& prompter, SoundPort& sound, const Clock& clock, const ProgramDir& dir)
    : stage_(&noStage),
      dir_(dir),
      prompter_(prompter),
      settings_(dir.Path(ProgramDir::kConfigIni)),
      controller_(state_, options_, mode_, *this, prompter, sound, clock, dir),
      modes_(controller_, state_, mode_, dir, settings_, prompter, clock, *this) {
  shown_.fill(true);
  controller_.SetChangeListener([this] { Notify(); });
}

void DrawSession::AttachStage(StageHooks& stage, ModeSwitchHost& host) {
  stage_ = &stage;
  modeHost_ = &host;
}

void DrawSession::DetachStage() {
  for (std::size_t i = 0; i < shown_.size(); ++i) shown_[i] = stage_->IsVisible(static_cast<StageElement>(i));
  stage_ = &noStage;
  modeHost_ = nullptr;
}

void DrawSession::SetVisible(StageElement element, bool visible) {
  shown_[static_cast<std::size_t>(element)] = visible;
  stage_->SetVisible(element, visible);
}

bool DrawSession::IsVisible(StageElement element) const {
  return stage_ == &noStage ? shown_[static_cast<std::size_t>(element)] : stage_->IsVisible(element);
}

DrawSession::~DrawSession() {
  controller_.SetChangeListener({});
}

void DrawSession::SetRevealing(bool revealing) {
  if (revealing_ == revealing) return;
  revealing_ = revealing;
  if (!revealing) Notify();
}

void DrawSession::AddObserver(DrawObserver& observer) {
  if (std::find(observers_.begin(), observers_.end(), &observer) == observers_.end()) observers_.push_back(&observer);
}

void DrawSession::RemoveObserver(DrawObserver& observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), &observer), observers_.end());
}

void DrawSession::Notify() {
  // A copy: an observer may remove itself (or another) while it is told.
  const std::vector<DrawObserver*> observers = observers_;
  const DrawChanges changes = told_.Compare(*this);
  for (DrawObserver* o : observers)
    if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) o->DrawChanged(*this, changes);
}

void DrawSession::SetText(StageElement element, const std::string& text) {
  texts_[static_cast<std::size_t>(element)] = text;
  stage_->SetText(element, text);
}

bool DrawSession::CorrectionMayOpen(const char* whatUtf8) {
  return !controller_.RefuseWhileViewingPast() && kavrel::CorrectionMayOpen(state_, prompter_, whatUtf8);
}

// A queued redraw is the next batch: the stage shows its ready state. Whatever changed, the resume
// record is rewritten at once (marks in the result files change their sizes too).
// Each correction changes the result files, the receipts and the resume record: one step, so that a
// crash in the middle resumes the draw as it was before the correction.
void DrawSession::Undo() {
  const FileStep step(dir_);
  controller_.UndoPressed();
}

void DrawSession::Abandon(const AbandonRequest& request) {
  controller_.Abandon(request);
}

void DrawSession::Supplement(const SupplementRequest& request) {
  controller_.Supplement(request);
}

void DrawSession::ChangePrize(const PrizeChangeRequest& request) {
  controller_.ChangePrize(request);
}

void DrawSession::StartUp() {
  controller_.StartUp();
  modes_.CheckDrawMode();
  Notify();  // the draw as laid out or resumed: the views' first notice says all of it
}

// A roll under way ends first, with nothing recorded: the window may change the draw order, the plan
// or the list, and a roll left going would be recorded against whatever line comes next.
void DrawSession::EditAwards(const std::function<Edited(DrawOptions& options, bool drawStarted)>& window) {
  if (state_.Rolling()) controller_.AbortRoll();
  controller_.SuspendStageMusic();
  DrawOptions edited = options_;
  const Edited done = window(edited, state_.drawStarted);
  options_.forwardOrder = edited.forwardOrder;
  options_.totalQuota = edited.totalQuota;
  controller_.AfterAwardSettings(done.confirmed, done.restartRequested);
}

void DrawSession::EditList(const std::function<Edited(bool drawStarted)>& window) {
  if (state_.Rolling()) controller_.AbortRoll();
  controller_.SuspendStageMusic();
  const Edited done = window(state_.drawStarted);
  controller_.AfterListEditor(done.restartRequested);
}

// The window only reports whether the draw must start again; the mode check then reads the folder it
// saved (and may open the editor once more when the list is still empty).
bool DrawSession::EditPictureList(const std::function<Edited(bool drawStarted)>& window) {
  if (state_.Rolling()) controller_.AbortRoll();
  controller_.SuspendStageMusic();
  const int run = ++pictureListRuns_;
  if (window(state_.drawStarted).restartRequested) controller_.ListReplaced();
  modes_.CheckDrawMode();
  if (run != pictureListRuns_) return false;  // the editor opened again from the check has rebuilt the draw
  controller_.AfterListEditor();
  return true;
}

void DrawSession::EditSounds(const std::function<void()>& window) {
  controller_.SuspendStageMusic();
  window();
  controller_.AfterSoundSettings();
}

// The group goes straight into the draw and needs no reload; the resume record keeps it.
void DrawSession::SetAwardGroup(std::optional<std::pair<int, int>> rows) {
  kavrel::SetAwardGroup(state_, rows);
  Notify();
}

void DrawSession::StartFrom(std::optional<int> planPosition) {
  if (planPosition) StartFromChoice::Apply(*planPosition, state_);
  controller_.ShowReadyState();
}

}  // namespace kavrel

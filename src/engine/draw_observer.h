#pragma once

namespace kavrel {

class DrawSession;

// What changed since the views were last told, part by part. The session finds it by comparing each
// part with what it was at the last notice, so a notice never says less than changed; a view that
// shows only some parts may leave the others' notices alone.
enum class DrawChange : unsigned {
  Phase = 1u << 0,      // where the draw stands (DrawState::phase)
  Winners = 1u << 1,    // the winners recorded (a stop, an undo, a correction, a reset)
  Plan = 1u << 2,       // the plan lines, the line announced or recorded, a start-from choice, an award group
  Progress = 1u << 3,   // the pool's size, the award's counters, whether the draw began, whether undo is offered
  Texts = 1u << 4,      // a text the stage shows (titles, labels, status, marquee)
  Receipts = 1u << 5,   // the draw's record of receipts (a receipt added, the seal, the close)
  Rules = 1u << 6,      // the draw's options or mode
  Revealing = 1u << 7,  // the stage began or ended revealing a batch
};

class DrawChanges {
 public:
  constexpr DrawChanges() = default;
  constexpr DrawChanges(DrawChange change) : bits_(static_cast<unsigned>(change)) {}  // NOLINT: one part
  constexpr DrawChanges operator|(DrawChanges other) const { return DrawChanges(bits_ | other.bits_); }
  constexpr DrawChanges& operator|=(DrawChanges other) { return *this = *this | other; }
  // Any of `parts` changed.
  constexpr bool Any(DrawChanges parts) const { return (bits_ & parts.bits_) != 0; }
  constexpr bool None() const { return bits_ == 0; }
  // Something changed, and all of it among `parts`.
  constexpr bool Only(DrawChanges parts) const { return bits_ != 0 && (bits_ & ~parts.bits_) == 0; }

 private:
  constexpr explicit DrawChanges(unsigned bits) : bits_(bits) {}
  unsigned bits_ = 0;
};

constexpr DrawChanges operator|(DrawChange a, DrawChange b) {
  return DrawChanges(a) | DrawChanges(b);
}

// A view of the draw: the stage, the operator console, anything else that shows where the draw stands.
// Told after every change of the draw (never per roll tick), with the parts that changed; it reads what
// it shows from the session, so no view keeps a copy of its own and no view reads another. A notice
// may say nothing changed (a command that left the draw as it was still tells).
class DrawObserver {
 public:
  virtual ~DrawObserver() = default;
  virtual void DrawChanged(const DrawSession& session, DrawChanges changes) = 0;
};

}  // namespace kavrel

#!/usr/bin/env bash
# Re-renders the four default sounds from compose.py:
#   MIDI (compose.py) -> WAVE (fluidsynth, General MIDI soundfont) -> seamless loop (loop.py)
#   -> level (sox) -> MP3 (lame, 128 kbps CBR, gapless tag) or WAVE.
# Needs fluidsynth, sox and lame (scripts/install-deps.sh installs them) and python3.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

soundfont=""
for sf in /usr/share/sounds/sf2/FluidR3_GM.sf2 /usr/share/sounds/sf2/TimGM6mb.sf2 /usr/share/sounds/sf2/default-GM.sf2; do
  if [ -f "$sf" ]; then soundfont="$sf"; break; fi
done
[ -n "$soundfont" ] || { echo "build.sh: no General MIDI soundfont found" >&2; exit 1; }
echo "soundfont: $soundfont"

python3 "$here/compose.py" "$work"

render() {  # render NAME: MIDI -> 44.1 kHz 16-bit stereo WAVE, chorus off so passes repeat exactly
  fluidsynth -ni -q -g 0.5 -r 44100 -o synth.chorus.active=0 -F "$work/$1.raw.wav" "$soundfont" "$work/$1.mid" >/dev/null
}

for name in bg2 bg4 start3; do
  render "$name"
  read -r bpm beats < "$work/$name.loop"
  python3 "$here/loop.py" "$work/$name.raw.wav" "$bpm" "$beats" "$work/$name.loop.wav"
  # Music sits a little below the stop sound so the crash stands out over it.
  level=-3
  [ "$name" = start3 ] && level=-2
  sox "$work/$name.loop.wav" "$work/$name.wav" gain -n "$level"
  lame --quiet --cbr -b 128 -q 2 "$work/$name.wav" "$here/$name.mp3"
done

render stop1
# From the first sound to 2.6 s, fading out over the last half second.
sox "$work/stop1.raw.wav" "$here/stop1.wav" silence 1 0.001 0.2% trim 0 2.6 fade t 0 2.6 0.6 gain -n -1

ls -l "$here"/*.mp3 "$here"/*.wav

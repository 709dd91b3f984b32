#!/usr/bin/env bash
# Regenerates the console's wave files in sounds/: a bell and an alarm tone made
# with sox, Russian announcements spoken by espeak-ng. Every file is 16-bit PCM,
# mono, 22050 Hz and at most 2.5 s long. The build does not run this script; the
# generated files are kept in the repository.
set -euo pipefail
command -v sox >/dev/null || { echo "sox is needed (apt-get install sox)" >&2; exit 1; }
command -v espeak-ng >/dev/null || { echo "espeak-ng is needed (apt-get install espeak-ng)" >&2; exit 1; }

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/sounds"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

format=(-r 22050 -b 16 -c 1 -e signed-integer)
max_seconds=2.5

# Writes $work/$1 as the final file $out/$1: silence trimmed at both ends, a
# short fade, then squeezed in time if it would run longer than allowed.
finish() {
    local name=$1 src="$work/$1"
    sox "$src" "${format[@]}" "$work/cut.wav" \
        silence 1 0.01 0.5% reverse silence 1 0.01 0.5% reverse
    sox "$work/cut.wav" "$work/trim.wav" fade t 0.005 -0 0.03 pad 0 0.05 gain -n -3
    local length
    length=$(soxi -D "$work/trim.wav")
    if awk -v l="$length" -v m="$max_seconds" 'BEGIN { exit !(l > m) }'; then
        local factor
        factor=$(awk -v l="$length" -v m="$max_seconds" 'BEGIN { printf "%.3f", l / (m - 0.05) }')
        sox "$work/trim.wav" "${format[@]}" "$out/$name" tempo -s "$factor"
    else
        cp "$work/trim.wav" "$out/$name"
    fi
}

# A spoken announcement.
say() {
    local name=$1 text=$2
    espeak-ng -v ru -s 150 -p 45 -a 100 -w "$work/$name" "$text"
    finish "$name"
}

# Bell: a struck tone with inharmonic partials dying away.
sox -n "${format[@]}" "$work/p1.wav" synth 1.4 sine 880 fade q 0.002 1.4 1.38
sox -n "${format[@]}" "$work/p2.wav" synth 1.0 sine 2211 fade q 0.002 1.0 0.98 pad 0 0.4
sox -n "${format[@]}" "$work/p3.wav" synth 0.6 sine 3520 fade q 0.002 0.6 0.58 pad 0 0.8
sox -m -v 0.6 "$work/p1.wav" -v 0.3 "$work/p2.wav" -v 0.15 "$work/p3.wav" "$work/Bell.wav"
sox "$work/Bell.wav" "$out/Bell.wav" gain -n -3

# Alarm: a two-tone warble, three cycles.
sox -n "${format[@]}" "$work/hi.wav" synth 0.22 square 960 vol 0.25 fade t 0.01 0.22 0.01
sox -n "${format[@]}" "$work/lo.wav" synth 0.22 square 740 vol 0.25 fade t 0.01 0.22 0.01
sox "$work/hi.wav" "$work/lo.wav" "$work/hi.wav" "$work/lo.wav" "$work/hi.wav" "$work/lo.wav" \
    "${format[@]}" "$out/Alarm.wav" lowpass 3000 gain -n -4

numbers=(ноль один два три четыре пять шесть семь восемь девять десять одиннадцать двенадцать)

say Attention.wav "Внимание!"
for n in 1 2 3 4; do
    say "TempSilos$n.wav" "Температура в силосе номер ${numbers[$n]}"
done
say RouteStart.wav "Запуск маршрута"
say RouteStop.wav "Останов маршрута"
for n in $(seq 1 12); do
    say "Route_$n.wav" "Маршрут номер ${numbers[$n]}"
done
say RouteStarted.wav "Маршрут запущен"
say RouteStoped.wav "Маршрут остановлен"

for f in "$out"/*.wav; do
    printf '%-20s %5.2f s\n' "$(basename "$f")" "$(soxi -D "$f")"
done

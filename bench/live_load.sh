#!/usr/bin/env bash
# Load held by the live window: Calorix on the demo instrument at its frame rate, Alarm and Log
# on, for a while with the live window in front, then the file browser, then the live window
# again (Ctrl+Tab through xdotool, under Xvfb). Samples the program's resident memory and CPU
# time from /proc every 10 s, and at the end counts the logged readings and alarm frames of
# each phase.
#
#   bench/live_load.sh BUILD_BIN_DIR [SECONDS_PER_PHASE=200] [WORK_DIR=/tmp/calorix-live-load]
#
# Needs xvfb-run and xdotool. Prints a summary; the samples stay in WORK_DIR/samples.csv.
set -euo pipefail
bin=$(cd "$1" && pwd)
phase=${2:-200}
work=${3:-/tmp/calorix-live-load}
rm -rf "$work"
mkdir -p "$work/bin" "$work/History"
# A copy of the program and its libraries of its own (a rebuild meanwhile changes nothing), so that its options.xml (Alarm and Log on, the history
# folder) lies beside it and not in the build folder.
cp "$bin/calorix" "$bin"/lib*.so "$work/bin/"
cat > "$work/bin/options.xml" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<options>
    <Language>EN</Language>
    <HistoryFilesPath>$work/History</HistoryFilesPath>
    <AllowAlarm>1</AllowAlarm>
    <AllowAlarmSound>1</AllowAlarmSound>
    <AllowLogGeneration>1</AllowLogGeneration>
</options>
XML
"$bin/democard" "$work/card" >/dev/null

export LD_LIBRARY_PATH="$work/bin" TETHRA_BACKENDS=demo TETHRA_DEMO_CARD="$work/card" XDG_CONFIG_HOME="$work/config"
cat > "$work/drive.sh" <<'DRIVE'
#!/usr/bin/env bash
set -euo pipefail
work=$1 phase=$2
cd "$work/bin"
./calorix & pid=$!
ticks=$(getconf CLK_TCK)
sample() { # seconds since start, RSS kB, CPU ticks
    local rss cpu
    rss=$(awk '/^VmRSS/ {print $2}' /proc/$pid/status)
    cpu=$(awk '{print $14 + $15}' /proc/$pid/stat)
    echo "$1,$(date +%s.%N),$rss,$cpu,$(cat "$work"/History/*.csv 2>/dev/null | wc -l)" >> "$work/samples.csv"
}
echo "second,epoch,rss_kib,cpu_ticks,csv_lines" > "$work/samples.csv"
sleep 5
window=$(xdotool search --onlyvisible --pid $pid --name Calorix | head -1)
start=$(date +%s)
echo "start,$start" > "$work/phases.csv"
for p in live files live; do
    if [ "$p" = files ] || [ "$(tail -1 "$work/phases.csv" | cut -d, -f1)" = files ]; then
        xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus "$window" || true
        xdotool key --window "$window" ctrl+Tab
    fi
    echo "$p,$(date +%s)" >> "$work/phases.csv"
    sleep 2
    import -window root "$work/phase-$(wc -l < "$work/phases.csv")-$p.png"
    for ((s = 0; s < phase; s += 10)); do
        sample $(( $(date +%s) - start ))
        sleep 10
    done
done
sample $(( $(date +%s) - start ))
echo "end,$(date +%s)" >> "$work/phases.csv"
echo "ticks,$ticks" >> "$work/phases.csv"
kill $pid; wait $pid || true
DRIVE
chmod +x "$work/drive.sh"
xvfb-run -a -s "-screen 0 1280x800x24" "$work/drive.sh" "$work" "$phase"

python3 - "$work" <<'PY'
import csv, datetime, glob, os, sys
work = sys.argv[1]
phases = list(csv.reader(open(f"{work}/phases.csv")))
ticks = int(phases[-1][1]); end = int(phases[-2][1])
bounds = [(name, int(t)) for name, t in phases[1:-2]]
bounds = [(n, t, bounds[i + 1][1] if i + 1 < len(bounds) else end) for i, (n, t) in enumerate(bounds)]
lines = []
for path in glob.glob(f"{work}/History/*_readings.csv"):
    for row in list(csv.reader(open(path, encoding="utf-8")))[1:]:
        lines.append(datetime.datetime.fromisoformat(row[0]).timestamp())
alarms = [os.path.getmtime(p) for p in glob.glob(f"{work}/History/*_alarm.BMP")]
frames = [os.path.getmtime(p) for p in glob.glob(f"{work}/History/*.BMP")]
samples = [(float(r[0]), float(r[1]), int(r[2]), int(r[3]), int(r[4])) for r in list(csv.reader(open(f"{work}/samples.csv")))[1:]]
print(f"phase      seconds  readings/s  alarm frames  frames  CPU % of a core")
for name, a, b in bounds:
    n = sum(a <= t < b for t in lines); al = sum(a <= t < b for t in alarms); fr = sum(a <= t < b for t in frames)
    inside = [s for s in samples if a <= s[1] <= b + 1]
    cpu = (inside[-1][3] - inside[0][3]) / ticks / (inside[-1][1] - inside[0][1]) * 100
    print(f"{name:9} {b - a:8}  {n / (b - a):10.2f}  {al:12}  {fr:6}  {cpu:8.1f}")
after = [s for s in samples if s[0] >= 60]
print(f"RSS at 60 s {after[0][2]} KiB, max after {max(s[2] for s in after)} KiB, last {samples[-1][2]} KiB,"
      f" growth after the first minute {(max(s[2] for s in after) - after[0][2]) / 1024:.2f} MiB")
cpu_all = (samples[-1][3] - samples[0][3]) / ticks / (samples[-1][1] - samples[0][1]) * 100
partial = sum(not open(p, "rb").read().endswith(b"\n") for p in glob.glob(f"{work}/History/*.csv"))
print(f"CPU over the run {cpu_all:.1f} % of one core; CSV files ending in a partial line: {partial}")
PY

#!/usr/bin/env bash
# The simulator's Modbus RTU slave against mbpoll, a third-party Modbus master.
# Usage: mbpoll_test.sh <kt730-sim> [mbpoll]
# Values are those of the instrument held at its centre values (--frozen):
# 12 mA, 12.5 m3/h, 21 degC, 1.5 bar, 50 % as IEEE 754 floats.
set -u

SIM=${1:?path of kt730-sim}
MBPOLL=${2:-mbpoll}
WORK=$(mktemp -d)
SIM_PID=

cleanup() {
  if [[ -n $SIM_PID ]]; then
    kill "$SIM_PID" 2>/dev/null
    wait "$SIM_PID" 2>/dev/null
  fi
  exec 3>&- 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

"$SIM" --frozen >"$WORK/out" 2>"$WORK/log" &
SIM_PID=$!
for _ in $(seq 50); do
  [[ -s $WORK/out ]] && break
  sleep 0.1
done
PTY=$(head -n 1 "$WORK/out")
[[ -c $PTY ]] || { echo "FAIL: no pseudo-terminal from the simulator"; cat "$WORK/log"; exit 1; }

# Prints the values of one mbpoll read, one per line ("[1]: 0x4140" -> "1 0x4140").
poll_values() {
  "$MBPOLL" -m rtu -b 9600 -P none -1 -o 1 "$@" "$PTY" 2>"$WORK/mbpoll.err" |
    sed -n 's/^\[\([0-9]*\)\]:[[:space:]]*\(.*\)$/\1 \2/p'
}

expect_values() {
  local what=$1 expected=$2
  shift 2
  local got
  got=$(poll_values "$@")
  if [[ $got != "$expected" ]]; then
    fail "$what"
    echo "expected:"; echo "$expected"
    echo "got:"; echo "$got"
    cat "$WORK/mbpoll.err"
  fi
}

# A command text over the same line; prints the module's reply.
command_text() {
  exec 3<>"$PTY"
  stty -F "$PTY" raw -echo 2>/dev/null
  printf '%s' "$1" >&3
  local reply=
  IFS= read -r -t 2 -N "$2" reply <&3
  exec 3>&-
  printf '%s' "$reply"
}

expect_values "slot 0 registers as words" \
"1 0x4140
2 0x0000
3 0x4148
4 0x0000
5 0x41A8
6 0x0000
7 0x3FC0
8 0x0000
9 0x4248
10 0x0000" -a 1 -t 4:hex -r 1 -c 10

expect_values "slot 0 as floats, high word first" \
"1 12
3 12.5
5 21
7 1.5
9 50" -a 1 -t 4:float -B -r 1 -c 5

# Slot 1 has no instrument at its polling address: zeros.
expect_values "slot 1 reads zero" \
"11 0x0000
12 0x0000" -a 1 -t 4:hex -r 11 -c 2

# Register 51 lies past the five slots: exception 02.
poll_values -a 1 -t 4:hex -r 51 -c 1 >/dev/null
grep -qi "illegal data address" "$WORK/mbpoll.err" || { fail "read past the map gives no exception 02"; cat "$WORK/mbpoll.err"; }

# Another slave address: no answer at all.
poll_values -a 5 -t 4:hex -r 1 -c 1 >/dev/null
grep -qi "timed out" "$WORK/mbpoll.err" || { fail "another slave was answered"; cat "$WORK/mbpoll.err"; }

# Low word first for every value, set through the command language.
reply=$(command_text 'QQS#DFOT0:11111#' 7)
[[ $reply == "OK DFOT" ]] || fail "value format command answered '$reply'"
expect_values "slot 0 as floats, low word first" \
"1 12
3 12.5
5 21
7 1.5
9 50" -a 1 -t 4:float -r 1 -c 5

# A new slave address takes effect at once.
reply=$(command_text 'QQS#ADR:017#' 6)
[[ $reply == "OK ADR" ]] || fail "slave address command answered '$reply'"
expect_values "new slave address 17" "1 0x0000
2 0x4140" -a 17 -t 4:hex -r 1 -c 2

if ((failures > 0)); then
  echo "--- simulator log"
  cat "$WORK/log"
  exit 1
fi
echo "mbpoll test passed"

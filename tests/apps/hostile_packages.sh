# Copies of the hostile test package (tests/package/HostileFixture.cpp) in a mode of
# one's choice. Sourced.

# hostile FIXTURE MODE COPY: COPY is FIXTURE with its mode text set to MODE, byte for
# byte the same otherwise.
hostile() {
  local fixture=$1 mode=$2 copy=$3 offset
  cp "$fixture" "$copy"
  for offset in $(grep -obUaF "QELL-FIXTURE-MODE:" "$fixture" | cut -d: -f1); do
    { printf '%s' "$mode"; head -c $((29 - ${#mode})) /dev/zero; } |
      dd of="$copy" bs=1 seek=$((offset + 18)) conv=notrunc status=none
  done
}

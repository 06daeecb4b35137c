#!/usr/bin/env bash
# gwprobe's run time on routing tables of 100, 1,000 and 10,000 routes in a network namespace, beside
# the kernel's own lookup (`ip route get`) on the same table. Prints the figures.
#   bench/gwprobe/run.sh [BUILD_DIR [SIZES...]]      (as root; BUILD_DIR defaults to build/win)
# gwprobe runs under Wine in a prefix of the benchmark's own (BUILD_DIR/bench-netns-prefix) whose
# wineserver runs inside the namespace, twice per table: with Wine's own inetmib1.dll, and with the
# test stand-in agent (BUILD_DIR/tests/gwprobe/standin/full, when built) serving the kernel's table
# row for row, which shows the cost of walking the whole table.
set -u
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build/win}" 2>/dev/null && pwd) || { echo "no build directory ${1:-$top/build/win}"; exit 1; }
shift $(($# > 0 ? 1 : 0))
sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(100 1000 10000)
exe=$build/dist/gwprobe.exe
[ -f "$exe" ] || { echo "no $exe: build the gwprobe target first"; exit 1; }
standins=$build/tests/gwprobe/standin/full

# shellcheck source=../../tests/gwprobe/netns_support.sh
. "$top/tests/gwprobe/netns_support.sh"
netns_start "$build/bench-netns-prefix" "$top/scripts/prepare-prefix.sh" || exit $?
netns_links
# Wine's services and drivers start with the first programs run in the namespace: not counted.
netns_wine "$exe"
netns_wine "$exe"

# The stand-in agent and a copy of gwprobe.exe beside it (Wine looks in the program's folder first).
standin_exe=
if [ -f "$standins/inetmib1.dll" ] && [ -f "$standins/snmpapi.dll" ]; then
    mkdir -p "$NETNS_DIR/standin"
    cp "$standins/inetmib1.dll" "$standins/snmpapi.dll" "$exe" "$NETNS_DIR/standin/"
    standin_exe=$NETNS_DIR/standin/gwprobe.exe
fi

# times_in_namespace RUNS COMMAND...: runs the command RUNS times inside the namespace, one process
# each, and prints each run's wall time in microseconds (timed inside, so entering the namespace
# is not counted).
times_in_namespace() {
    ip netns exec "$NETNS" env WINEPREFIX="$NETNS_PREFIX" WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' \
        bash -c 'runs=$1; shift
                 for ((r = 0; r < runs; r++)); do
                     t0=${EPOCHREALTIME/./}; "$@" </dev/null >/dev/null 2>&1; t1=${EPOCHREALTIME/./}
                     echo $((t1 - t0))
                 done' _ "$@"
}

median() { printf '%s\n' "$@" | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
fastest() { printf '%s\n' "$@" | sort -n | head -n 1; }
ms() { awk -v u="$1" -v d="$2" 'BEGIN {printf "%.*f ms", d, u / 1000}'; }

# A table of n routes: the default route, then /24 networks from 10.64.0.0 on, alternating over
# the two links and over several gateways on each.
make_table() {
    local n=$1 i net file=$NETNS_DIR/routes
    : >"$file"
    echo "route add default via 10.1.0.1 dev a0" >>"$file"
    for ((i = 0; i < n - 1; i++)); do
        net="10.$((64 + i / 256)).$((i % 256)).0/24"
        if ((i % 2)); then
            echo "route add $net via 10.2.0.$((1 + i % 7)) dev b0" >>"$file"
        else
            echo "route add $net via 10.1.0.$((1 + i % 7)) dev a0" >>"$file"
        fi
    done
    ip -n "$NETNS" route flush proto boot
    ip -n "$NETNS" -batch "$file"
}

# The kernel's table, row for row, as the stand-in agent's table text (a0 is interface 1, b0 2;
# on-link routes lead to the link's own address, as Windows shows them).
standin_table() {
    echo "addr 10.1.0.2 255.255.255.0 1"
    echo "addr 10.2.0.2 255.255.255.0 2"
    ip -n "$NETNS" -4 -o route show | awk '
        function mask(len,   m, i, o, out) {
            out = ""
            for (i = 0; i < 4; i++) {
                o = len >= 8 ? 255 : (len <= 0 ? 0 : 256 - 2 ^ (8 - len))
                len -= 8
                out = out (i ? "." : "") o
            }
            return out
        }
        {
            dest = $1; len = 32
            if (dest == "default") { dest = "0.0.0.0"; len = 0 }
            else if (split(dest, p, "/") == 2) { dest = p[1]; len = p[2] }
            hop = "0.0.0.0"; dev = ""
            for (i = 2; i <= NF; i++) {
                if ($i == "via") hop = $(i + 1)
                if ($i == "src" && hop == "0.0.0.0") hop = $(i + 1)
                if ($i == "dev") dev = $(i + 1)
            }
            print "route", dest, mask(len), hop, (dev == "b0" ? 2 : 1)
        }'
}

# measure AGENT RUNS PROGRAM [ENV...]: times gwprobe and prints its row of figures.
measure() {
    local agent=$1 runs=$2 program=$3
    shift 3
    local rc walked gateway
    local -a times
    ip netns exec "$NETNS" env WINEPREFIX="$NETNS_PREFIX" WINEDEBUG=-all "$@" wine "$program" \
        </dev/null >"$NETNS_OUT" 2>&1  # warm-up, and the run whose answer is checked
    rc=$?
    walked=$(($(grep -c 'GetIpRouteInfo: SnmpExtensionQuery OK.' "$NETNS_OUT") - 1))
    gateway=$(netns_gateway_addr)
    mapfile -t times < <(times_in_namespace "$runs" env "$@" wine "$program")
    local agrees=no
    [ "$rc" = 0 ] && [ "$gateway" = "$kernel" ] && agrees=yes
    printf '%-8s %-9s %-13s %-15s %-15s %-13s %-12s %s\n' "$n" "$agent" "$walked/$rows" \
        "$(ms "$(median "${times[@]}")" 1)" "$(ms "$(fastest "${times[@]}")" 1)" "$(ms "$k_med" 2)" \
        "$gateway" "$agrees"
}

printf '%-8s %-9s %-13s %-15s %-15s %-13s %-12s %s\n' routes agent rows-walked gwprobe-median gwprobe-fastest \
    ip-route-get gateway agrees
for n in "${sizes[@]}"; do
    make_table "$n"
    rows=$(ip -n "$NETNS" -4 route show | wc -l)
    # The server lies in the last network added on the local link (a0), so gwprobe's interface
    # rule and the kernel agree.
    last=$(((n - 2) - ((n - 2) % 2)))
    server="10.$((64 + last / 256)).$((last % 256)).9"
    netns_wine reg add 'HKCR\ZFARLINE' /v PORTREVE_ADDR /d "$server" /f
    kernel=$(netns_kernel_gateway "$server")
    mapfile -t ktimes < <(times_in_namespace 21 ip route get "$server")
    k_med=$(median "${ktimes[@]}")
    runs=$((n >= 10000 ? 5 : 9))

    measure wine "$runs" "$exe" WINEDLLOVERRIDES='mscoree,mshtml='
    if [ -n "$standin_exe" ]; then
        standin_table >"$NETNS_DIR/table"
        measure stand-in "$runs" "$standin_exe" WINEDLLOVERRIDES='snmpapi,inetmib1=n' \
            STANDIN_MIB_TABLE="Z:$NETNS_DIR/table"
    fi
done
cat <<'EOF'
gwprobe: median and fastest of 9 runs (5 at 10,000 routes), each a whole Wine process, after one
  warm-up run whose answer is the gateway shown; agent "wine" is Wine's own inetmib1.dll on the
  namespace's table, "stand-in" the test agent serving the same rows.
ip-route-get: median of 21 runs of `ip route get SERVER`, each a whole process.
Both are timed inside the namespace (entering it is not counted).
rows-walked: rows gwprobe's walk read / IPv4 routes in the namespace's main table.
EOF

#!/usr/bin/env bash
# Runs the README's two commands on a fresh, minimal Debian 12, as a new user would: builds a
# bookworm root with debootstrap from this machine's apt mirror, copies a clean clone of HEAD into
# it and, as root with no locale set, runs ./test.sh, then ./run.sh under Xvfb until the login
# window shows, then ends the program with SIGTERM. Needs root on the host.
#
# Exits 0 when every step passed, or when the mirror cannot be reached at all (the check is then
# skipped, and says why); any other failure exits non-zero.
# QUIRU_FRESH_KEEP=1 keeps the root folder (unmounted) for a look afterwards.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
suite=bookworm
chroot_path=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin
program=/opt/quiru/build/quiru/quiru
build_timeout=1800 # s for ./test.sh, and for ./run.sh to build before it starts the program
window_timeout=60  # s from the program's start until the login window shows
term_timeout=10    # s from SIGTERM until the program has ended

say() { printf '[fresh-debian] %s\n' "$*"; }
fail() {
    say "FAILED: $*" >&2
    exit 1
}

# Prints the last lines of a log, framed, so a CI log shows what went wrong.
show_log() {
    local file=$1 lines=${2:-120}
    say "---- last $lines lines of $(basename "$file") ----"
    tail -n "$lines" "$file" || true
    say "---- end of $(basename "$file") ----"
}

problems=() # faults of the program that do not stop the later steps
timings=()
stage_name=""
stage_started=0
begin() {
    stage_name=$1
    stage_started=$SECONDS
    say "== $stage_name"
}
end() {
    local took=$((SECONDS - stage_started))
    timings+=("$(printf '%5d s  %s' "$took" "$stage_name")")
    say "== $stage_name: done in $took s"
}

[ "$(id -u)" -eq 0 ] || fail "must run as root (debootstrap, chroot and mounts need it)"

# ---- The machine's apt mirror ----------------------------------------------------------------

# Prints "URI SUITE" for each enabled deb source of this machine, one-line and deb822 files alike.
apt_sources() {
    local f
    for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$f" ] || continue
        sed -e 's/#.*//' -e 's/\[[^]]*\]//' "$f" | awk '$1 == "deb" && NF >= 3 { print $2, $3 }'
    done
    for f in /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] || continue
        awk '
            function flush(   n, m, i, j, u, s) {
                if (types ~ /(^|[ \t])deb([ \t]|$)/ && enabled != "no") {
                    n = split(uris, u, /[ \t]+/)
                    m = split(suites, s, /[ \t]+/)
                    for (i = 1; i <= n; i++)
                        for (j = 1; j <= m; j++)
                            if (u[i] != "" && s[j] != "") print u[i], s[j]
                }
                types = uris = suites = field = ""
                enabled = "yes"
            }
            BEGIN { enabled = "yes" }
            /^#/ { next }
            /^[ \t]*$/ { flush(); next }
            /^[ \t]/ {
                if (field == "uris") uris = uris " " $0
                else if (field == "suites") suites = suites " " $0
                next
            }
            {
                field = tolower($0); sub(/:.*/, "", field)
                value = $0; sub(/^[^:]*:[ \t]*/, "", value)
                if (field == "types") types = value
                else if (field == "uris") uris = value
                else if (field == "suites") suites = value
                else if (field == "enabled") enabled = tolower(value)
            }
            END { flush() }' "$f"
    done
}

sources=$(apt_sources | sed 's:/*\( \):\1:')
# The archive: the source of bookworm itself, else of this machine's release (a mirror holds both).
mirror=$(awk -v s="$suite" '$2 == s { print $1; exit }' <<<"$sources")
[ -n "$mirror" ] || mirror=$(awk '$2 !~ /-/ { print $1; exit }' <<<"$sources")
security=$(awk '$2 ~ /-security$/ { print $1; exit }' <<<"$sources")
[ -n "$mirror" ] || fail "no Debian mirror is configured in /etc/apt/sources.list or /etc/apt/sources.list.d"
say "mirror: $mirror${security:+ (security updates: $security)}"

work=$(mktemp -d /var/tmp/quiru-fresh-debian.XXXXXX)
root=$work/root
logs=$work/logs
mkdir -p "$root" "$logs"
mounts=()
pids=() # still to be collected; a collected pid may belong to someone else by now
forget() {
    local pid kept=()
    for pid in "${pids[@]}"; do [ "$pid" = "$1" ] || kept+=("$pid"); done
    pids=("${kept[@]}")
}

# Ends everything started inside the root, unmounts it and removes it, whatever way we leave.
cleanup() {
    local rc=$? pid proc i
    set +e
    trap - EXIT INT TERM
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null; done
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/root" 2>/dev/null)" = "$root" ] && kill -KILL "${proc#/proc/}" 2>/dev/null
    done
    for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null; done
    sleep 1
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" || say "could not unmount ${mounts[i]}"
    done
    if grep -q " $root/" /proc/mounts; then
        say "something is still mounted under $root: leaving $work in place"
    elif [ "${QUIRU_FRESH_KEEP:-}" = 1 ]; then
        say "kept $work"
    else
        rm -rf --one-file-system "$work"
    fi
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# ---- Can the mirror be reached at all? ---------------------------------------------------------
begin "reach the mirror"
rc=0
probe=$(timeout 120 /usr/lib/apt/apt-helper download-file "$mirror/dists/$suite/Release" "$work/Release" 2>&1) ||
    rc=$?
if [ "$rc" -ne 0 ]; then
    say "apt said: $(tr '\n' ' ' <<<"$probe")"
    # Only a mirror that cannot be reached at all skips the check; one that answers wrongly fails it.
    [ "$rc" -eq 124 ] || grep -qiE 'resolv|connect|timed out|unreachable|no route' <<<"$probe" ||
        fail "the mirror $mirror answered, but not with $suite's Release file"
    say "SKIPPED: the mirror $mirror cannot be reached from this machine, so no fresh Debian 12 root can be made."
    exit 0
fi
end

begin "host tools"
if ! command -v debootstrap >/dev/null; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap >"$logs/host.log" 2>&1 ||
        {
            apt-get update -q >>"$logs/host.log" 2>&1 &&
                DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends debootstrap \
                    >>"$logs/host.log" 2>&1
        } || {
        show_log "$logs/host.log" 40
        fail "could not install debootstrap on this machine"
    }
fi
for tool in git chroot mount; do
    command -v "$tool" >/dev/null || fail "this machine has no $tool"
done
end

# ---- The fresh root ------------------------------------------------------------------------------
begin "debootstrap --variant=minbase $suite"
if ! debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$logs/debootstrap.log" 2>&1; then
    show_log "$logs/debootstrap.log" 60
    fail "debootstrap could not make the root"
fi
end

begin "prepare the root"
{
    echo "deb $mirror $suite main"
    echo "deb $mirror $suite-updates main"
    [ -z "$security" ] || echo "deb $security $suite-security main"
} >"$root/etc/apt/sources.list"
# Reach the mirror the way this machine does (its proxy, its view of Release dates); nothing else.
apt-config dump | grep -E '^Acquire::(https?::Proxy|Check-Valid-Until|Check-Date)' \
    >"$root/etc/apt/apt.conf.d/90host-mirror" || true
# A throwaway root: no services started by package scripts, no fsync on every file.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
echo force-unsafe-io >"$root/etc/dpkg/dpkg.cfg.d/unsafe-io"

sha=$(git -C "$repo" rev-parse HEAD)
git -c safe.directory="$repo" clone --quiet --no-checkout "$repo" "$root/opt/quiru"
git -C "$root/opt/quiru" -c advice.detachedHead=false checkout --quiet --detach "$sha"
say "clean clone of $(git -C "$root/opt/quiru" log -1 --format='%h %s') in /opt/quiru"

mount_in() {
    mount "$@"
    mounts+=("${*: -1}")
}
mount_in -t proc proc "$root/proc"
mount_in -t sysfs sysfs "$root/sys"
mount_in --bind /dev "$root/dev"
mount_in --bind /dev/pts "$root/dev/pts"
mount_in -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
end

# Runs a command inside the root as root, with a clean environment: no locale, no host variables
# but the proxy ones apt may need. Leading NAME=value words are added to the environment. An array,
# not a function, so that a job started with & is the command itself (its pid is the program's).
in_root=(chroot "$root" /usr/bin/env -i PATH="$chroot_path" HOME=/root TERM=dumb)
for v in http_proxy https_proxy no_proxy HTTP_PROXY HTTPS_PROXY NO_PROXY; do
    [ -z "${!v:-}" ] || in_root+=("$v=${!v}")
done

# ---- A user who is not root and has no sudo is told what to run --------------------------------
begin "install_packages.sh as an ordinary user without sudo"
rc=0
out=$(chroot --userspec=65534:65534 "$root" /usr/bin/env -i PATH="$chroot_path" HOME=/nonexistent \
    /opt/quiru/tools/install_packages.sh 2>&1) || rc=$?
printf '%s\n' "$out" | sed 's/^/    /'
if [ "$rc" -eq 0 ] || [ "$rc" -eq 127 ] || ! grep -q 'apt-get install' <<<"$out"; then
    fail "install_packages.sh without root or sudo should say what to run as root and exit non-zero (exit $rc)"
fi
end

# ---- ./test.sh --------------------------------------------------------------------------------
begin "./test.sh in the fresh root"
rc=0
timeout "$build_timeout" "${in_root[@]}" bash -c 'cd /opt/quiru && ./test.sh' >"$logs/test.log" 2>&1 || rc=$?
if [ "$rc" -ne 0 ]; then
    show_log "$logs/test.log" 150
    fail "./test.sh failed in the fresh root (exit $rc)"
fi
show_log "$logs/test.log" 8
end

begin "fonts"
font=$("${in_root[@]}" fc-match 'Liberation Sans' 2>&1) || fail "fc-match is missing from the fresh root: $font"
say "Liberation Sans -> $font; sans-serif -> $("${in_root[@]}" fc-match sans-serif 2>&1)"
grep -q '^LiberationSans-Regular' <<<"$font" || fail "the font the program asks for is not installed"
end

# ---- ./run.sh until the login window shows -----------------------------------------------------
begin "x11-utils for the check (not the program's)"
"${in_root[@]}" DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends x11-utils \
    >"$logs/check-tools.log" 2>&1 || {
    show_log "$logs/check-tools.log" 40
    fail "could not install x11-utils in the fresh root"
}
end

begin "./run.sh under Xvfb until the login window shows"
# Xvfb picks a free display itself and writes its number to fd 3.
"${in_root[@]}" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$logs/display" >"$logs/xvfb.log" 2>&1 &
pids+=($!)
xvfb=$!
display=""
for _ in $(seq 100); do
    read -r display <"$logs/display" 2>/dev/null || true
    [ -n "$display" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.2
done
[ -n "$display" ] || {
    show_log "$logs/xvfb.log" 40
    fail "Xvfb did not start in the fresh root"
}
say "Xvfb on :$display"

"${in_root[@]}" DISPLAY=":$display" bash -c 'cd /opt/quiru && exec ./run.sh' >"$logs/run.log" 2>&1 &
pids+=($!)
quiru=$!
# run.sh installs and builds first, then execs the program in the same process.
deadline=$((SECONDS + build_timeout))
until [ "$(readlink "/proc/$quiru/exe" 2>/dev/null)" = "$root$program" ]; do
    kill -0 "$quiru" 2>/dev/null || {
        show_log "$logs/run.log" 80
        fail "./run.sh ended before it started the program"
    }
    [ "$SECONDS" -lt "$deadline" ] || {
        show_log "$logs/run.log" 80
        fail "./run.sh did not start the program within $build_timeout s"
    }
    sleep 0.5
done
started=$SECONDS
say "program started ($((started - stage_started)) s after ./run.sh)"
# xwininfo reads Qt's UTF-8 titles only under a UTF-8 locale; the program itself runs without one.
list_windows=("${in_root[@]}" DISPLAY=":$display" LC_ALL=C.UTF-8 xwininfo -root -tree)
window=""
until window=$("${list_windows[@]}" 2>/dev/null | grep -m1 '"Login[^"]*"'); do
    kill -0 "$quiru" 2>/dev/null || {
        show_log "$logs/run.log" 80
        fail "the program ended before its login window showed"
    }
    [ $((SECONDS - started)) -lt "$window_timeout" ] || {
        "${list_windows[@]}" >"$logs/windows.txt" 2>&1 || true
        show_log "$logs/windows.txt" 40
        show_log "$logs/run.log" 80
        fail "no window titled \"Login\" showed within $window_timeout s of the program's start"
    }
    sleep 0.5
done
say "login window after $((SECONDS - started)) s:$window"
# The window is there, so go on to stopping the program, but a wrong caption still fails the check.
grep -q '"Login"' <<<"$window" ||
    problems+=("the login window is titled $(grep -o '"Login[^"]*"' <<<"$window") instead of \"Login\"")
end

begin "SIGTERM ends the program within $term_timeout s"
kill -TERM "$quiru"
termed=$SECONDS
while kill -0 "$quiru" 2>/dev/null && [ $((SECONDS - termed)) -lt "$term_timeout" ]; do
    # A zombie has ended; only its status is left to collect.
    [ "$(awk '{ print $3 }' "/proc/$quiru/stat" 2>/dev/null)" = Z ] && break
    sleep 0.2
done
if [ "$(awk '{ print $3 }' "/proc/$quiru/stat" 2>/dev/null)" != Z ] && kill -0 "$quiru" 2>/dev/null; then
    kill -KILL "$quiru" 2>/dev/null || true
    wait "$quiru" 2>/dev/null || true
    forget "$quiru"
    show_log "$logs/run.log" 40
    problems+=("the program was still running $term_timeout s after SIGTERM (killed it)")
else
    rc=0
    wait "$quiru" || rc=$?
    forget "$quiru"
    show_log "$logs/run.log" 20
    case $rc in
    0) say "the program ended with status 0 after $((SECONDS - termed)) s" ;;
    143) say "the program ended by SIGTERM's default action (status 143) after $((SECONDS - termed)) s" ;;
    *) problems+=("the program ended with status $rc after SIGTERM") ;;
    esac
fi
kill -TERM "$xvfb" 2>/dev/null || true
wait "$xvfb" 2>/dev/null || true
forget "$xvfb"
end

printf '%s\n' "${timings[@]}"
if [ ${#problems[@]} -gt 0 ]; then
    printf '[fresh-debian] FAILED: %s\n' "${problems[@]}" >&2
    exit 1
fi
say "every step passed in a fresh Debian 12 ($suite, minbase) root"

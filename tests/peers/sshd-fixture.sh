#!/usr/bin/env bash
# A throw-away OpenSSH sshd on loopback for the tests of the SSH tunnel.
#
#   sshd-fixture.sh start <dir>   creates a user with a random password and a host key, starts sshd on a free port
#                                 of 127.0.0.1 and writes <dir>/sshd.env (lines NAME=value: MQ_SSHD_HOST,
#                                 MQ_SSHD_PORT, MQ_SSHD_USER, MQ_SSHD_PASSWORD, MQ_SSHD_HOSTKEY_SHA256, MQ_SSHD_PID)
#   sshd-fixture.sh stop <dir>    stops that sshd, removes the user and the files
#
# Needs root (a user account, sshd's privilege separation); exits 77 (skipped) otherwise. The user name is derived
# from <dir>, so build trees never share one, and "start" first removes what a crashed run in <dir> left behind.
set -euo pipefail

action=${1:-}
dir=${2:-}
if [ -z "$action" ] || [ -z "$dir" ]; then
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
fi
if [ "$(id -u)" -ne 0 ]; then
    echo "sshd fixture: needs root, skipped" >&2
    exit 77
fi

sshd=/usr/sbin/sshd
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
env_file=$dir/sshd.env
config=$dir/sshd_config
pid_file=$dir/sshd.pid
log_file=$dir/sshd.log
host_key=$dir/ssh_host_ed25519_key
user=mqsshd$(printf '%s' "$dir" | sha256sum | cut -c1-10)

# useradd, chpasswd and userdel give up at once while another of them holds the password files' lock.
retry() {
    local attempt
    for attempt in $(seq 1 100); do
        if "$@" 2>"$dir/retry.err"; then
            return 0
        fi
        sleep 0.1
    done
    cat "$dir/retry.err" >&2
    return 1
}

# The sshd started for <dir>, if it still runs: its pid, checked against its command line.
fixture_sshd_pid() {
    local pid
    [ -f "$pid_file" ] || return 1
    pid=$(cat "$pid_file" 2>/dev/null) || return 1
    [ -n "$pid" ] && [ -r "/proc/$pid/cmdline" ] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" | grep -qF -- "$config" || return 1
    echo "$pid"
}

# A process that ended but was not reaped yet (state Z) counts as gone.
running() {
    local state
    state=$(sed -E 's/^.*\) (.).*$/\1/' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}

stop_sshd() {
    local pid i
    pid=$(fixture_sshd_pid) || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 1 100); do
        running "$pid" || return 0
        sleep 0.05
    done
    kill -KILL "$pid" 2>/dev/null || true
}

remove_user() {
    if id -u "$user" >/dev/null 2>&1; then
        retry userdel -f "$user"
    fi
}

cleanup() {
    stop_sshd
    remove_user
    rm -f "$env_file" "$env_file.tmp" "$config" "$pid_file" "$host_key" "$host_key.pub" "$dir/retry.err"
}

case "$action" in
stop)
    cleanup
    exit 0
    ;;
start) ;;
*)
    echo "usage: $0 start|stop <dir>" >&2
    exit 2
    ;;
esac

[ -x "$sshd" ] || {
    echo "sshd fixture: $sshd is missing (package openssh-server)" >&2
    exit 1
}
cleanup
: >"$log_file"
# sshd's privilege separation directory; a fresh container does not have it.
if [ ! -d /run/sshd ]; then
    mkdir -p /run/sshd
    chmod 0755 /run/sshd
fi

ssh-keygen -q -t ed25519 -N '' -C mq-sshd-fixture -f "$host_key"
password=$(head -c 32 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | cut -c1-24)
retry useradd --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin --no-user-group --gid nogroup \
    --comment "sshd test fixture" "$user"
printf '%s:%s\n' "$user" "$password" | retry chpasswd

cat >"$config" <<EOF
ListenAddress 127.0.0.1
HostKey $host_key
PidFile $pid_file
UsePAM no
PasswordAuthentication yes
KbdInteractiveAuthentication no
PubkeyAuthentication no
AuthenticationMethods password
PermitRootLogin no
AllowUsers $user
AllowTcpForwarding yes
PermitOpen any
X11Forwarding no
PrintMotd no
UseDNS no
StrictModes no
MaxStartups 200
MaxAuthTries 3
LoginGraceTime 30
LogLevel VERBOSE
EOF
"$sshd" -t -f "$config"

# A port is free when sshd manages to bind it; its pid file appears once it listens.
started=
for attempt in $(seq 1 30); do
    port=$((20000 + RANDOM % 40000))
    rm -f "$pid_file"
    setsid "$sshd" -D -f "$config" -o "Port=$port" -E "$log_file" </dev/null >/dev/null 2>&1 &
    child=$!
    for i in $(seq 1 200); do
        if [ -s "$pid_file" ] || ! kill -0 "$child" 2>/dev/null; then
            break
        fi
        sleep 0.05
    done
    if [ -s "$pid_file" ] && kill -0 "$child" 2>/dev/null; then
        started=$port
        break
    fi
    kill -TERM "$child" 2>/dev/null || true
    wait "$child" 2>/dev/null || true
done
if [ -z "$started" ]; then
    echo "sshd fixture: sshd did not start, see $log_file" >&2
    cleanup
    exit 1
fi

fingerprint=$(ssh-keygen -l -E sha256 -f "$host_key.pub" | cut -d' ' -f2)
{
    echo "MQ_SSHD_HOST=127.0.0.1"
    echo "MQ_SSHD_PORT=$started"
    echo "MQ_SSHD_USER=$user"
    echo "MQ_SSHD_PASSWORD=$password"
    echo "MQ_SSHD_HOSTKEY_SHA256=$fingerprint"
    echo "MQ_SSHD_PID=$(cat "$pid_file")"
} >"$env_file.tmp"
mv "$env_file.tmp" "$env_file"
echo "sshd fixture: $user on 127.0.0.1:$started"

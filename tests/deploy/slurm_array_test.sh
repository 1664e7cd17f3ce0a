#!/usr/bin/env bash
# Sharding on a real job runner: a one-node Slurm cluster started here runs
# a batch as an array job of four tasks, each taking its share from
# SLURM_ARRAY_TASK_ID and SLURM_ARRAY_TASK_COUNT (--shard auto); together
# their files must be those of one run of the whole manifest, byte for byte.
#
#   tests/deploy/slurm_array_test.sh VITALCHART EXAMPLES
#
# Installs slurm-wlm and munge from Debian when they are missing, so it needs
# root; without root, or when they cannot be installed or the cluster does
# not come up, it says why and exits 77 (skipped). Every wait has a time
# limit, all of them together 90 seconds (and the unpacking of the packages
# its own), and the daemons are stopped however it ends.
set -uo pipefail
vitalchart=$(readlink -f "$1")
examples=$(readlink -f "$2")
tasks=4
charts=10

# The seconds a step may take: its own limit, or what is left of the 90.
limit() {
  local left=$((90 - SECONDS))
  [ "$left" -gt 1 ] || left=1
  echo $(($1 < left ? $1 : left))
}
skip() {
  echo "skipped: $*"
  exit 77
}
fail() {
  echo "FAILED: $*"
  for log in "$work"/*.log; do
    echo "---- $log"
    tail -n 20 "$log"
  done
  exit 1
}

[ "$(id -u)" -eq 0 ] || skip "starting a Slurm cluster needs root"
command -v timeout >/dev/null || skip "no timeout command"

packages=(slurm-wlm munge)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  # Fetching may be cut off at its time limit; unpacking what was fetched may
  # not, or the package database would be left half-done: it has a limit of
  # its own, well beyond what it takes.
  timeout "$(limit 30)" apt-get update -qq >/dev/null 2>&1 || skip "apt-get update failed or took too long"
  timeout "$(limit 40)" apt-get install -y -qq --download-only --no-install-recommends "${missing[@]}" \
    >/dev/null 2>&1 || skip "cannot fetch ${missing[*]} from Debian in time"
  timeout 120 apt-get install -y -qq --no-install-recommends -o Dpkg::Options::=--force-confold "${missing[@]}" \
    >/dev/null 2>&1 || skip "cannot install ${missing[*]}"
fi

work=$(mktemp -d /tmp/vitalchart-slurm-XXXXXX)
chmod 755 "$work"
job=
stop() {
  if [ -n "${SLURM_CONF:-}" ]; then
    [ -n "${job:-}" ] && timeout 5 scancel "$job" >/dev/null 2>&1
    timeout 5 scontrol shutdown >/dev/null 2>&1
  fi
  for pidfile in "$work"/slurmd.pid "$work"/slurmctld.pid "$work"/munged.pid; do
    [ -s "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null
  done
  sleep 0.5
  for pidfile in "$work"/slurmd.pid "$work"/slurmctld.pid "$work"/munged.pid; do
    [ -s "$pidfile" ] && kill -9 "$(cat "$pidfile")" 2>/dev/null
  done
  rm -rf "$work"
}
trap stop EXIT

# munge, with a key and a socket of its own.
mkdir -p "$work/munge" "$work/state" "$work/spool"
chmod 700 "$work/munge"
dd if=/dev/urandom of="$work/munge/munge.key" bs=1024 count=1 status=none
chmod 400 "$work/munge/munge.key"
timeout "$(limit 10)" munged --force --key-file="$work/munge/munge.key" --socket="$work/munge/socket" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munge/seed" ||
  skip "munged does not start here: $(tail -n 1 "$work/munged.log" 2>/dev/null)"

# A cluster of this host alone, with its cores and memory as slurmd finds them.
node=$(timeout "$(limit 10)" slurmd -C | head -n 1)
case $node in NodeName=*) ;; *) skip "slurmd -C does not describe this host" ;; esac
host=$(echo "$node" | sed 's/^NodeName=\([^ ]*\).*/\1/')
port=$((20000 + RANDOM % 20000))
cat >"$work/slurm.conf" <<CONF
ClusterName=vitalchart
SlurmctldHost=$host
SlurmUser=root
SlurmdUser=root
SlurmctldPort=$port
SlurmdPort=$((port + 1))
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge/socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SwitchType=switch/none
MpiDefault=none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
AccountingStorageType=accounting_storage/none
JobAcctGatherType=jobacct_gather/none
JobCompType=jobcomp/none
ReturnToService=2
MailProg=/bin/true
$(echo "$node" | sed 's/ UpTime=.*//') State=UNKNOWN
PartitionName=test Nodes=$host Default=YES MaxTime=10 State=UP
CONF
export SLURM_CONF=$work/slurm.conf
timeout "$(limit 10)" slurmctld -i -f "$SLURM_CONF" || skip "slurmctld does not start here: $(tail -n 1 "$work/slurmctld.log")"
timeout "$(limit 10)" slurmd -f "$SLURM_CONF" || skip "slurmd does not start here: $(tail -n 1 "$work/slurmd.log")"
state=
for _ in $(seq 40); do
  state=$(timeout "$(limit 5)" sinfo -h -n "$host" -o %T 2>/dev/null)
  [ "$state" = idle ] && break
  sleep 0.5
done
[ "$state" = idle ] || skip "the node does not come up (state '$state'): $(tail -n 1 "$work/slurmd.log")"

# The manifest, drawn once whole and once as an array job.
for ((i = 0; i < charts; ++i)); do
  printf '{"template":"%s/vitalsign.xml","data":"%s/week.data","output":"ward/p%d.pdf","label":"Patient %d"}\n' \
    "$examples" "$examples" "$i" "$i"
done >"$work/m.jsonl"
export SOURCE_DATE_EPOCH=1733040000
timeout "$(limit 30)" "$vitalchart" batch "$work/m.jsonl" -o "$work/whole" --jobs 2 --pdfa 2b --paper A4 >/dev/null ||
  fail "the whole run failed"
cat >"$work/task.sh" <<TASK
#!/bin/bash
exec "$vitalchart" batch "$work/m.jsonl" -o "$work/shared" --jobs 1 --pdfa 2b --paper A4 --shard auto
TASK
chmod 755 "$work/task.sh"
job=$(timeout "$(limit 10)" sbatch --parsable --array=0-$((tasks - 1)) --time=2 --chdir="$work" \
  --output="$work/task-%a.out" "$work/task.sh") || fail "sbatch refused the array job"
while [ $SECONDS -lt 90 ]; do
  [ -z "$(timeout "$(limit 5)" squeue -h -j "$job" 2>/dev/null)" ] && break
  sleep 0.5
done
[ -n "$(timeout 5 squeue -h -j "$job" 2>/dev/null)" ] && fail "the array job did not finish in time"

for ((k = 0; k < tasks; ++k)); do
  grep -q "^share $k of $tasks: " "$work/task-$k.out" || fail "task $k: $(cat "$work/task-$k.out")"
done
diff -r "$work/whole" "$work/shared" || fail "the array job's files differ from the whole run's"
echo "passed: $tasks array tasks of job $job wrote the $charts charts of the whole run"

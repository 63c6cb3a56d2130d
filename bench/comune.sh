# Shared start of the sweeps over generated scenarios (sourced, not run): reads SEMI from the first
# argument (default 30), builds build-bench as scripts/bench.sh does, and sets
# $programma, $genera, a work folder $lavoro removed on exit, and the counters $prove and $falliti.
# $script is the name of the sweep, for its messages.
semi=${1:-30}
if ! [[ $semi =~ ^[0-9]+$ ]] || ((semi < 1)); then
  echo "$script: SEMI deve essere un numero positivo (non '$semi')" >&2
  exit 1
fi
scripts/costruisci.sh banco compattatore genera_scenario >/dev/null
programma=$PWD/build-bench/compattatore
genera=$PWD/build-bench/bench/genera_scenario
lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
prove=0
falliti=0

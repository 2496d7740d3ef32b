# What CI's stage scripts share; each sources it (bash).
#   unusable REASON...   the stage cannot run here (no root, no mirror, no QEMU): it says
#                        why, then under CI=true fails (status 1), since CI must run every
#                        stage, and elsewhere says it skipped (status 0). The script ends.

unusable() {
  local name=${0##*/}
  echo "$name: $*"
  [[ "${CI:-}" == true ]] && exit 1
  echo "$name: skipped"
  exit 0
}

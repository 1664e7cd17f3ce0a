# Shared by the set-up scripts: installs Debian packages and generates locales
# only when they are missing, as root. Source it; it defines two functions.

# install_missing TAG PACKAGE...: installs the packages that are not installed
# yet (a NAME:i386 package adds the i386 architecture first).
install_missing() {
  local tag=$1
  shift
  local missing=() p
  for p in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "$tag: missing packages (${missing[*]}); run this script as root" >&2
    return 1
  fi
  echo "$tag: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  case " ${missing[*]}" in
    *:i386*) dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386 ;;
  esac
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# ensure_locale TAG NAME: generates the NAME.UTF-8 locale (for example de_DE)
# when it is not there yet.
ensure_locale() {
  local tag=$1 name=$2
  locale -a 2>/dev/null | grep -qi "^$name\.utf-\?8\$" && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "$tag: the $name.UTF-8 locale is missing; run this script as root" >&2
    return 1
  fi
  sed -i "s/^# *$name.UTF-8 UTF-8/$name.UTF-8 UTF-8/" /etc/locale.gen
  grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >> /etc/locale.gen
  locale-gen >/dev/null
}

#!/usr/bin/env bash
# "&Send To All" over a detector list that holds every kind of bad path: a pipe where the folder
# should be, a folder whose qfd.ini is a pipe, a folder without permission, a folder with a 10 MB
# qfd.ini, and paths 4,000 characters long (a list entry reads back as its first 254 bytes). The
# program keeps running, shows no message, blocks on nothing, changes none of the bad targets and
# still alerts the real installation listed after them. An installation whose own folder is 4,000
# characters long runs and receives alerts too.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require mkfifo

e2e_start_session
screen=$(e2e_screen_size)
DIALOGS="$E2E_TMP/dialogs.log"
touch "$DIALOGS"

# Permissions only bind an unprivileged user: run as nobody when started as the superuser.
AS_USER=()
if ((EUID == 0)); then
    command -v setpriv >/dev/null || { echo "skipped: setpriv not installed"; exit 77; }
    e2e_prepare_nobody
    AS_USER=("${E2E_AS_NOBODY[@]}")
fi
own() { ((EUID != 0)) || chown -R 65534:65534 "$@"; }


# Starts the program in DIR (as nobody where needed); its pid in E2E_LAST_PID.
start_qfd() {
    e2e_start_installation "$1" "${AS_USER[@]}"
    local pid=$E2E_LAST_PID
    e2e_spawn e2e_watch_dialogs "$pid" "$DIALOGS"
    E2E_LAST_PID=$pid
}

# A path of exactly LENGTH characters below BASE made of names of SIZE characters, ending with a
# separator.
long_path() {  # long_path BASE LENGTH SIZE
    local path=$1 name
    while ((${#path} + $3 + 3 < $2)); do
        name=$(printf "%*s" "$3" "" | tr ' ' d)
        path+="/$name"
    done
    name=$(printf "%*s" $(($2 - ${#path} - 2)) "" | tr ' ' e)
    echo "$path/$name/"
}

# The bad targets.
fifo_path="$E2E_TMP/fifo-detector"
mkfifo -m 666 "$fifo_path"
pipe_inside="$E2E_TMP/pipe-inside"
mkdir "$pipe_inside"
mkfifo -m 666 "$pipe_inside/qfd.ini"
locked="$E2E_TMP/locked"
mkdir -m 000 "$locked"
big="$E2E_TMP/big"
mkdir "$big"
{
    printf '[Commands]\r\nType=0\r\n;'
    head -c $((10 * 1024 * 1024)) /dev/zero | tr '\0' 'x'
    printf '\r\n'
} >"$big/qfd.ini"
own "$big"
big_sum=$(md5sum <"$big/qfd.ini")
long_missing=$(long_path "$E2E_TMP" 4000 300)
[[ ${#long_missing} == 4000 ]] || e2e_fail "the long path is ${#long_missing} characters"
# A long path whose first 254 bytes end with a separator and name a folder that exists: the
# folder is not the detector listed, so nothing may land in it.
trap_folder="$E2E_TMP/trap/$(printf "%*s" $((254 - ${#E2E_TMP} - 7)) "" | tr ' ' t)"
mkdir -p "$trap_folder"
own "$E2E_TMP/trap"
long_trap=$(long_path "$trap_folder" 4000 200)
[[ ${long_trap:0:254} == "$trap_folder/" ]] || e2e_fail "the trap path is not cut at its folder"

# The real installations: one in a folder 4,000 characters long, one ordinary.
deep=$(long_path "$E2E_TMP/deep" 4000 200)
[[ ${#deep} == 4000 ]] || e2e_fail "the deep folder is ${#deep} characters"
mkdir -p "$deep"
cp "$QFD_BIN" "$deep/qfd"
own "$E2E_TMP/deep"
receiver=$(e2e_install)
own "$receiver"
sender=$(e2e_install)
{
    printf '[Settings]\r\nmyName=Sender\r\n[Network Settings]\r\n'
    i=0
    for path in "$fifo_path/" "$pipe_inside/" "$locked/" "$big/" "$long_missing" "$long_trap" \
        "$receiver/"; do
        printf 'Option %d=%s\r\n' "$i" "$path"
        i=$((i + 1))
    done
} >"$sender/qfd.ini"
own "$sender"
list_before=$(sed -n '/^\[Network Settings\]/,$p' "$sender/qfd.ini" | md5sum)

start_qfd "$deep"
dpid=$E2E_LAST_PID
start_qfd "$receiver"
rpid=$E2E_LAST_PID
start_qfd "$sender"
spid=$E2E_LAST_PID
for pid in "$dpid" "$rpid" "$spid"; do
    e2e_wait_for 10 e2e_no_window "$pid" 487x283 || e2e_fail "a splash stayed ($pid)"
done
e2e_log "three installations running, one in a folder of ${#deep} characters"

# Right click, "&Network Alert" by its access key, then down to "&Send To All".
e2e_open_tray_menu "$spid" "$(e2e_tray_icon "$spid")"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$spid" 2 || e2e_fail "no &Network Alert submenu"
xdotool key Down Return

# The real installation listed last shows the alert; it is clicked away.
e2e_wait_for 10 e2e_has_window "$rpid" "$screen" || e2e_fail "the receiver shows no alert"
[[ $(e2e_ini "$receiver" Commands NetName) == Sender ]] || e2e_fail "the record is not the sender's"
e2e_click_window "$(e2e_windows "$rpid" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$rpid" "$screen" || e2e_fail "the receiver's alert stayed"
sleep 1  # time for a message box, were one to come
# The sender still answers its tray.
e2e_open_tray_menu "$spid" "$(e2e_tray_icon "$spid")"
xdotool key Escape
e2e_wait_for 10 e2e_menu_closed "$spid" || e2e_fail "the sender's menu stayed open"

# The installation in the folder of 4,000 characters takes a record like any other.
"$QFDCTL_BIN" send --name Deep "$deep" || e2e_fail "cannot send to the deep installation"
e2e_wait_for 10 e2e_has_window "$dpid" "$screen" || e2e_fail "the deep installation shows no alert"
e2e_click_window "$(e2e_windows "$dpid" "$screen" | head -n1)" 1
e2e_wait_for 10 e2e_no_window "$dpid" "$screen" || e2e_fail "the deep installation's alert stayed"
e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '${deep}qfd.ini' Commands Type) == 0 ]]" ||
    e2e_fail "the deep installation's mailbox was not marked done"

for pid in "$spid" "$rpid" "$dpid"; do e2e_alive "$pid" || e2e_fail "installation $pid ended"; done
if [[ -s $DIALOGS ]]; then e2e_fail "message boxes appeared: $(sort -u "$DIALOGS")"; fi
[[ -p $fifo_path && -p $pipe_inside/qfd.ini ]] || e2e_fail "a pipe was replaced"
[[ -z $(ls -A "$locked") ]] || e2e_fail "something was written into the folder without permission"
[[ $(md5sum <"$big/qfd.ini") == "$big_sum" ]] || e2e_fail "the 10 MB file changed"
[[ ! -e $big/qfd.ini.tmp && ! -e $big/qfd.ini.lock ]] || e2e_fail "files beside the 10 MB file"
[[ $(sed -n '/^\[Network Settings\]/,$p' "$sender/qfd.ini" | md5sum) == "$list_before" ]] ||
    e2e_fail "the sender's detector list changed"
[[ -z $(ls -A "$trap_folder") ]] ||
    e2e_fail "a record landed in a folder that only the first 254 bytes of a detector path name"
e2e_log "passed"

#!/usr/bin/env bash
# Two installations through a real share: the receiver's folder served by smbd on 127.0.0.1 with the
# share settings README recommends, the sender reaching it through an smbnetfs mount (FUSE on
# libsmbclient). The sender adds the served folder by "&Browse..." through the mount and alerts it
# from its tray menu and with `qfdctl send --wait`; the receiver, running as the folder's owner,
# shows each alert with the sender's name, and a click clears it. On the server, a send leaves the
# same bytes in qfd.ini as a send into a local folder, and the files the share creates (the lock
# file first) take the folder's read and write bits.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require smbd smbnetfs fusermount setpriv
((EUID == 0)) || { echo "skipped: smbd and the receiver's own user need the superuser"; exit 77; }
[[ -c /dev/fuse ]] || { echo "skipped: no /dev/fuse"; exit 77; }

samba="$E2E_TMP/samba"
mnt="$E2E_TMP/mnt"
mkdir -p "$samba"/{private,lock,state,cache,pid} "$mnt"

# The receiver belongs to nobody, as does everything written through the share (its guest user);
# its folder lets its group write, and so lets it lock the settings file. It looks into its mailbox
# only every 32.767 s, longer than this test runs: each alert must wake it through the folder watch,
# on the writes that smbd makes.
e2e_prepare_nobody
receiver=$(e2e_install)
printf '[Settings]\r\nmyName=Rita\r\nLatency= 32767\r\n' >"$receiver/qfd.ini"
chown -R 65534:65534 "$receiver"
chmod 775 "$receiver"

port_answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# A port of this run's own, agreed with parallel runs through a lock held until the script ends.
claim_port() {
    local n fd
    for ((n = 44500; n < 44600; n++)); do
        exec {fd}>"${TMPDIR:-/tmp}/.qfd-e2e-port-$n.lock"
        if flock -n "$fd" && ! port_answers "$n"; then
            port=$n
            return 0
        fi
        exec {fd}>&-
    done
    e2e_fail "no free port"
}
claim_port

cat >"$samba/smb.conf" <<CONF
[global]
    server role = standalone server
    interfaces = 127.0.0.1
    bind interfaces only = yes
    smb ports = $port
    disable netbios = yes
    private dir = $samba/private
    lock directory = $samba/lock
    state directory = $samba/state
    cache directory = $samba/cache
    pid directory = $samba/pid
    ncalrpc dir = $samba/state/ncalrpc
    log file = $samba/smbd.log
    load printers = no
    printcap name = /dev/null
    disable spoolss = yes
    map to guest = Bad User
    guest account = nobody
[qfd]
    path = $receiver
    read only = no
    guest ok = yes
    guest only = yes
    inherit permissions = yes
    map archive = no
CONF
# Sessions of their own: smbd and smbnetfs end their whole process group when they stop.
e2e_spawn setsid smbd --foreground --no-process-group --debug-stdout -s "$samba/smb.conf" \
    >"$samba/smbd.out" 2>&1
e2e_wait_for 10 port_answers "$port" || e2e_fail "smbd does not answer: $(cat "$samba/smbd.out")"

# smbnetfs reads its settings from ~/.smb; the port goes into the path (HOST:PORT), as its client
# library takes no port from smb.conf.
client_home="$samba/client"
mkdir -p "$client_home/.smb"
printf '[global]\n    client min protocol = SMB2\n' >"$client_home/.smb/smb.conf"
printf 'smb_query_browsers "false"\nauth "guest" ""\n' >"$client_home/.smb/smbnetfs.conf"
chmod 600 "$client_home/.smb/smbnetfs.conf"  # it ignores a password file others could read
HOME=$client_home e2e_spawn setsid smbnetfs "$mnt" -f >"$samba/smbnetfs.out" 2>&1
E2E_CLEANUP_HOOKS+=("fusermount -u -z $mnt")
share="$mnt/127.0.0.1:$port/qfd"
e2e_wait_for 10 test -x "$share/qfd" ||
    e2e_fail "the share is not mounted: $(cat "$samba/smbnetfs.out" "$samba/smbd.log" 2>/dev/null)"
e2e_log "$receiver served on port $port, mounted at $share"

e2e_start_session
screen=$(e2e_screen_size)
e2e_start_installation --set Settings myName Pat
sender=$E2E_LAST_DIR spid=$E2E_LAST_PID

# A send through the share leaves the same bytes on the server as a send into a local folder with
# the same file. The first lock file is made through the share.
plain=$(e2e_install)
cp "$receiver/qfd.ini" "$plain/qfd.ini"
"$QFDCTL_BIN" send --from "$sender" --top Share --bottom Test "$share/" ||
    e2e_fail "qfdctl send through the share failed"
"$QFDCTL_BIN" send --from "$sender" --top Share --bottom Test "$plain/"
cmp "$receiver/qfd.ini" "$plain/qfd.ini" || e2e_fail "the share changed the bytes of qfd.ini"
for file in qfd.ini qfd.ini.lock; do
    [[ $(stat -c '%A %U' "$receiver/$file") == "-rw-rw-r-- nobody" ]] ||
        e2e_fail "$file on the server: $(stat -c '%A %U' "$receiver/$file")"
done
[[ -z $(find "$receiver" -name '*.tmp*' -o -name '*.redo') ]] ||
    e2e_fail "left behind: $(ls "$receiver")"

# That record done, by hand: the receiver looks into its mailbox only when woken.
e2e_set_ini "$receiver" Commands Type 0
e2e_start_installation "$receiver" "${E2E_AS_NOBODY[@]}"
rpid=$E2E_LAST_PID
click_alert() {  # click_alert WHAT
    e2e_wait_for 10 e2e_has_window "$rpid" "$screen" || e2e_fail "the receiver shows no alert ($1)"
    [[ $(e2e_ini "$receiver" Commands NetName) == Pat ]] || e2e_fail "not from Pat ($1)"
    e2e_click_window "$(e2e_windows "$rpid" "$screen" | head -n1)" 1
    e2e_wait_for 10 e2e_no_window "$rpid" "$screen" || e2e_fail "a click left the alert ($1)"
    e2e_wait_for 10 bash -c "[[ \$('$QFDCTL_BIN' read '$receiver/qfd.ini' Commands Type) == 0 ]]" ||
        e2e_fail "the receiver's mailbox is not done ($1)"
}

# "&Browse..." in the sender's options, the receiver's program file through the mount.
e2e_open_tray_menu "$spid" "$(e2e_tray_icon "$spid")"
xdotool key o
e2e_wait_for 10 e2e_window_titled "$spid" "Quorf Detect Options" || e2e_fail "no options dialog"
dialog=$(e2e_window_titled "$spid" "Quorf Detect Options")
xdotool windowactivate --sync "$dialog" key --clearmodifiers alt+b
e2e_choose_file "$spid" "$share/qfd"
option0="[[ \$('$QFDCTL_BIN' read '$sender/qfd.ini' 'Network Settings' 'Option 0') == '$share/' ]]"
e2e_wait_for 10 bash -c "$option0" ||
    e2e_fail "Option 0 is '$(e2e_ini "$sender" "Network Settings" "Option 0")', not '$share/'"
xdotool windowactivate --sync "$dialog" key --clearmodifiers Escape
e2e_wait_for 10 bash -c "! xwininfo -id $dialog 2>/dev/null | grep -q IsViewable" ||
    e2e_fail "Escape did not close the options dialog"

# "&Network Alert", "&Send To All".
e2e_open_tray_menu "$spid" "$(e2e_tray_icon "$spid")"
xdotool key n
e2e_wait_for 10 e2e_menu_open "$spid" 2 || e2e_fail "no &Network Alert submenu"
xdotool key Down Return
click_alert "Send To All"
e2e_wait_for 10 e2e_tray_notice "$spid" || e2e_fail "the sender's tray told nothing of the receipt"

# qfdctl send --wait returns 0 once the alert has been clicked away on the server's side.
"$QFDCTL_BIN" send --from "$sender" --wait 20 "$share/" >"$E2E_TMP/wait.out" 2>&1 &
waiter=$!
click_alert "qfdctl send --wait"
rc=0
wait "$waiter" || rc=$?
((rc == 0)) || e2e_fail "qfdctl send --wait returned $rc: $(cat "$E2E_TMP/wait.out")"
e2e_log "passed"

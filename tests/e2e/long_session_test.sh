#!/usr/bin/env bash
# One running installation used for a long while, as people use it: a seeded random walk through
# the about window, instant, delayed and small alerts, the options dialog with its edits, choosers
# and Network Detectors, alerts sent to a second installation (running) and a third (switched
# off), and alerts received from the second one and from qfdctl. After every step both programs
# live, exactly the expected windows of each are mapped, and the settings files hold what was set.
# QFD_LONG_SESSION_STEPS (300) and QFD_LONG_SESSION_SEED (random, printed first) override; a
# failure names its step and the command that replays the run up to it.
source "$(dirname "${BASH_SOURCE[0]}")/lib/session.sh"
e2e_require

STEPS=${QFD_LONG_SESSION_STEPS:-300}
SEED=${QFD_LONG_SESSION_SEED:-$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')}
RANDOM=$SEED  # every choice comes from $RANDOM in this shell, so a seed replays the same walk
WAIT=20       # seconds any one change may take to show, under a sanitizer too
step=0
e2e_log "seed $SEED, $STEPS steps"

e2e_fail() {
    e2e_log "FAIL at step $step of $STEPS (seed $SEED): $*"
    local dir
    if [[ -n ${icon_b:-} ]]; then
        scan "$qa" "$icon_a"
        e2e_log "the first installation shows '$SEEN', its icon at $(e2e_geometry "$icon_a")"
        scan "$qb" "$icon_b"
        e2e_log "the second shows '$SEEN', its icon at $(e2e_geometry "$icon_b")"
    fi
    for dir in "${a:-}" "${b:-}"; do
        [[ -n $dir && -s $dir/qfd.out ]] || continue
        e2e_log "$dir/qfd.out:"
        tail -n 30 "$dir/qfd.out" >&2
    done
    e2e_log "replay: QFD_LONG_SESSION_SEED=$SEED QFD_LONG_SESSION_STEPS=$step ctest --test-dir" \
        "$(dirname "$(dirname "$QFD_BIN")") -R e2e_long_session_test --output-on-failure"
    exit 1
}

e2e_start_session
screen=$(e2e_screen_size)
# The installation in use.
e2e_start_installation --wait splash
a=$E2E_LAST_DIR qa=$E2E_LAST_PID
splash_a=$(e2e_windows "$qa" 487x283)
# A second one, running, that alerts the first back.
e2e_start_installation --wait splash --set Settings myName "Bea" \
    --set "Network Settings" "Option 0" "$a/"
b=$E2E_LAST_DIR qb=$E2E_LAST_PID
splash_b=$(e2e_windows "$qb" 487x283)
c=$(e2e_install)  # a third one, switched off: its records wait in its file
e2e_wait_for 10 e2e_tray_icon "$qa" || e2e_fail "the first icon did not dock into the tray"
e2e_wait_for 10 e2e_tray_icon "$qb" || e2e_fail "the second icon did not dock into the tray"
icon_a=$(e2e_tray_icon "$qa")
icon_b=$(e2e_tray_icon "$qb")

# What the first installation should hold; it starts with the defaults.
name="" delay=5 small=0 sound=101 netdelay=0 qftext=Quorf
colours=("" 255 0 0 16777215)  # Colour1 to Colour4: the colour chooser is only ever cancelled
slots=()                        # the Network Detector slots, "" for a free one
splash=0                        # the about window is up
mail_a=0 mail_b=0 mail_c=0      # Commands Type of each installation
pick() { R=$((RANDOM % $1)); }

# --- What the user sees ----------------------------------------------------------------------

# Sets SEEN to the sorted words for the process's own windows as mapped (tool tips aside, which
# come and go under a resting pointer) and WIN[word] to their ids: splash (the about window, which
# has no caption of its own), alert (covering the screen), small (the 300 x 250 alert), options,
# colour, file and message (the dialogs, by their titles), menu (a popup menu or completion list),
# or other:TITLE:SIZE for anything else.
declare -A WIN
scan() {  # scan PID ICON
    local id info props w h word title words=()
    WIN=()
    for id in $(xdotool search --all --pid "$1" --onlyvisible '' 2>/dev/null); do
        [[ $id == "$2" ]] && continue
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        [[ $info == *IsViewable* ]] || continue
        props=$(xprop -id "$id" WM_STATE _NET_WM_WINDOW_TYPE _NET_WM_NAME 2>/dev/null) || continue
        [[ $props == *_NET_WM_WINDOW_TYPE_TOOLTIP* ]] && continue
        # Windows of their own only: managed by the window manager, or popups above everything.
        [[ $props == *"WM_STATE(WM_STATE)"* || $info == *"Override Redirect State: yes"* ]] ||
            continue
        [[ $info =~ Width:\ ([0-9]+) ]] && w=${BASH_REMATCH[1]}
        [[ $info =~ Height:\ ([0-9]+) ]] && h=${BASH_REMATCH[1]}
        title=""
        [[ $props =~ _NET_WM_NAME\(UTF8_STRING\)\ =\ \"(.*)\" ]] && title=${BASH_REMATCH[1]}
        case $title in
            "Quorf Detect Options") word=options ;;
            "Choose a Colour") word=colour ;;
            "Choose QF Detect Application") word="file" ;;
            "QF Detect") word=message ;;
            *)
                if [[ $info == *"Override Redirect State: yes"* ]]; then
                    word=menu
                elif [[ $title == Alert && ${w}x$h == "$screen" ]]; then
                    word=alert
                elif [[ $title == Alert && ${w}x$h == 300x250 ]]; then
                    word=small
                elif [[ ${w}x$h == 487x283 ]]; then
                    word=splash
                else
                    word="other:$title:${w}x$h"
                fi
                ;;
        esac
        words+=("$word")
        WIN[$word]=$id
        [[ $word != splash || $1 != "$qa" ]] || splash_a=$id
    done
    SEEN=$(printf '%s\n' "${words[@]}" | sort | xargs)
}

state_is() {  # state_is A_WORDS B_WORDS
    local focus
    scan "$qb" "$icon_b"
    [[ $SEEN == "$2" ]] || return 1
    scan "$qa" "$icon_a"
    [[ $SEEN == "$1" ]] || return 1
    # A hidden splash hands the keyboard on through the window manager: the step is over once it
    # has, and the program has taken in that it lost the focus.
    focus=$(xdotool getwindowfocus -f 2>/dev/null) || return 0
    [[ $focus != "$splash_b" && ($1 == *splash* || $focus != "$splash_a") ]]
}

alive() {
    local pid which rc
    for pid in "$qa" "$qb"; do
        kill -0 "$pid" 2>/dev/null && continue
        which=first
        [[ $pid == "$qb" ]] && which=second
        rc=0
        wait "$pid" || rc=$?
        ((rc <= 128)) || rc+=" (signal $((rc - 128)))"
        e2e_fail "the $which qfd ended with status $rc"
    done
}

# The three settings files as they stand on disk: INI[TAG:SECTION:KEY] (TAG a, b or c), blanks
# around names and values and the line ends taken off. A key or section written twice is named
# in TWICE.
declare -A INI
read_files() {
    local key value files=("$a/qfd.ini" "$b/qfd.ini")
    [[ -e $c/qfd.ini ]] && files+=("$c/qfd.ini")
    INI=() TWICE=""
    while IFS=$'\t' read -r key value; do
        if [[ $key == twice ]]; then TWICE+=" $value"; else INI[$key]=$value; fi
    done < <(awk -v A="$a/qfd.ini" -v B="$b/qfd.ini" '
        function trim(s) { gsub(/^[ \t]+|[ \t]+$/, "", s); return s }
        FNR == 1 { tag = FILENAME == A ? "a" : FILENAME == B ? "b" : "c"; section = "" }
        { sub(/\r$/, "") }
        /^\[/ {
            section = substr($0, 2, index($0, "]") - 2)
            if (seen[tag, "[" section "]"]++) print "twice\t" tag ":[" section "]"
            next
        }
        (i = index($0, "=")) > 0 {
            key = tag ":" section ":" trim(substr($0, 1, i - 1))
            if (seen[key]++) print "twice\t" key
            print key "\t" trim(substr($0, i + 1))
        }' "${files[@]}")
}

ini_right() {
    local i now wanted
    read_files
    now="myName=${INI[a:Settings:myName]-} Delay=${INI[a:Settings:Delay]-5}"
    now+=" Small=${INI[a:Settings:Small]-0} Sound=${INI[a:Settings:Sound]-101}"
    now+=" NetDelay=${INI[a:Settings:NetDelay]-0} QFtext=${INI[a:Settings:QFtext]-Quorf}"
    now+=" Latency=${INI[a:Settings:Latency]-100}"
    wanted="myName=$name Delay=$delay Small=$small Sound=$sound NetDelay=$netdelay"
    wanted+=" QFtext=$qftext Latency=100"
    for i in 1 2 3 4; do
        now+=" Colour$i=${INI[a:Settings:Colour$i]-${colours[i]}}"
        wanted+=" Colour$i=${colours[i]}"
    done
    for ((i = 0; i <= ${#slots[@]}; i++)); do
        now+=" Option $i=${INI[a:Network Settings:Option $i]-}"
        wanted+=" Option $i=${slots[i]:-}"
    done
    now+=" Type=${INI[a:Commands:Type]-0} B:Type=${INI[b:Commands:Type]-0}"
    now+=" C:Type=${INI[c:Commands:Type]-0}${TWICE:+ twice:$TWICE}"
    wanted+=" Type=$mail_a B:Type=$mail_b C:Type=$mail_c"
    INI_NOW=$now INI_WANTED=$wanted
    [[ $now == "$wanted" ]]
}

# Waits until exactly these windows are mapped (the about window added from the model) and the
# files hold the model, and checks that both programs still run.
settle() {  # settle A_WORDS B_WORDS
    local wa=$1 sa
    ((splash)) && wa="${wa:+$wa }splash"
    if ! e2e_wait_for "$WAIT" state_is "$wa" "$2"; then
        alive
        scan "$qa" "$icon_a"
        sa=$SEEN
        scan "$qb" "$icon_b"
        e2e_fail "the first installation shows '$sa', not '$wa'; the second '$SEEN', not '$2'"
    fi
    e2e_wait_for "$WAIT" ini_right || e2e_fail "the settings are not what was set:
  on disk: $INI_NOW
  set:     $INI_WANTED"
    alive
}

# --- Driving ---------------------------------------------------------------------------------

press() {  # press WINDOW KEY...: keys to a window once it has the keyboard
    timeout 10 xdotool windowactivate --sync "$1" || e2e_fail "window $1 did not take the keyboard"
    xdotool key --clearmodifiers "${@:2}"
}
type_into() {  # type_into WINDOW TEXT
    timeout 10 xdotool windowactivate --sync "$1" || e2e_fail "window $1 did not take the keyboard"
    [[ -z $2 ]] || xdotool type --delay 10 "$2"
}
downs() {  # downs N: DOWNS holds N presses of the Down key
    local n
    DOWNS=()
    for ((n = 0; n < $1; n++)); do DOWNS+=(Down); done
}
# A click at X, Y inside a window; the pointer then rests away from it, where no tip opens.
click_in() {  # click_in WINDOW X Y
    local x y
    read -r x y _ <<<"$(e2e_geometry "$1")"
    xdotool mousemove $((x + $2)) $((y + $3)) click 1 mousemove 0 0
}
click_away() {  # click_away PID ICON WORD: a click in the middle of that window
    scan "$1" "$2"
    e2e_click_window "${WIN[$3]}" 1
    xdotool mousemove 0 0
}
# Clicks on an icon come at a person's pace: a second press inside the double-click interval
# would make a double click, another gesture.
declare -A LAST_CLICK
tray_click() {  # tray_click ICON BUTTON
    local wait_us=$((500000 - (${EPOCHREALTIME/./} - ${LAST_CLICK[$1]:-0})))
    ((wait_us <= 0)) || sleep "$(printf '0.%06d' "$wait_us")"
    e2e_click_window "$1" "$2"
    LAST_CLICK[$1]=${EPOCHREALTIME/./}
}
menu() {  # menu PID ICON KEY...: a right click on the icon opens the menu; the keys choose
    tray_click "$2" 3
    e2e_wait_for "$WAIT" e2e_menu_open "$1" || e2e_fail "a right click on the icon opened no menu"
    xdotool key "${@:3}"
}
submenu() {  # submenu PID COUNT KEY...: the keys once COUNT menus are open
    e2e_wait_for "$WAIT" e2e_menu_open "$1" "$2" || e2e_fail "no submenu"
    xdotool key "${@:3}"
}

# The alert covers the screen, or is 300 x 250 pixels in its middle.
alert_placed() {  # alert_placed ID WORD
    local x y where=0x0
    read -r x y _ <<<"$(e2e_geometry "$1")"
    [[ $2 == alert ]] || where=$(((${screen%x*} - 300) / 2))x$(((${screen#*x} - 250) / 2))
    [[ ${x}x$y == "$where" ]] || e2e_fail "the $2 alert stands at ${x}x$y, not at $where"
}

# The first installation shows an alert (a received one stays in its mailbox until clicked
# away); a click closes it.
alert_on_a() {  # alert_on_a FROM_MAILBOX [SENDER]
    local word=alert
    ((small)) && word=small
    splash=0 mail_a=$1
    settle "$word" ""
    alert_placed "${WIN[$word]}" "$word"
    if [[ -n ${2+x} ]]; then
        [[ ${INI[a:Commands:NetName]-} == "$2" ]] ||
            e2e_fail "the alert is from '${INI[a:Commands:NetName]-}', not '$2'"
    fi
    click_away "$qa" "$icon_a" "$word"
    mail_a=0
    settle "" ""
}

# --- The options dialog ----------------------------------------------------------------------

dialog="" rows=() selected=-1 on_button=0 mail_waiting=0 next_edit=""

open_options() {
    local slot
    menu "$qa" "$icon_a" o
    settle options ""
    dialog=${WIN[options]} rows=() selected=-1 on_button=0
    for slot in "${slots[@]}"; do [[ -z $slot ]] || rows+=("$slot"); done
}

answer() {  # answer KEY [WORDS BESIDE THE MESSAGE BOX]
    settle "message${2-" options"}" ""
    press "${WIN[message]}" "$1"
}

# The dialog's controls by their places in the window, in pixels at 15 twips to the pixel.
edit_options() {  # edit_options [WHAT]
    local what=$1 i row dir chooser
    local edits=(name delay text sound small netdelay defaults colour browse add add remove mail)
    local names=("Robin" "Pat" "Quinn Lee" "" "Sam-7" "Jo" "Alexandrina")
    local texts=("Quorf" "Nonsense!" "Oi" "" "Talk sense")
    if [[ -z $what ]]; then
        pick ${#edits[@]}
        what=${edits[R]}
    fi
    e2e_log "step $step: options: $what"
    case $what in
        name)
            pick ${#names[@]}
            name=${names[R]} on_button=0
            click_in "$dialog" 272 225
            press "$dialog" ctrl+a BackSpace
            type_into "$dialog" "$name"
            ;;
        delay)
            pick 3
            delay=$R on_button=0
            press "$dialog" alt+d ctrl+a
            type_into "$dialog" "$delay"
            ;;
        text)
            pick ${#texts[@]}
            qftext=${texts[R]} on_button=0
            press "$dialog" alt+t ctrl+a BackSpace
            type_into "$dialog" "$qftext"
            ;;
        sound)  # None, Whoop, Deedoodeedoo, Weeooweeoo
            pick 4
            sound=$((R == 0 ? 104 : 100 + R)) on_button=0
            click_in "$dialog" 160 $((360 + 64 * R / 3))
            ;;
        small)
            small=$((1 - small)) on_button=0
            click_in "$dialog" 50 280
            ;;
        netdelay)
            pick 2
            netdelay=$R
            if ((R)); then press "$dialog" alt+u; else press "$dialog" alt+i; fi
            ;;
        defaults)
            click_in "$dialog" 324 428
            on_button=1
            pick 2
            if ((R)); then
                answer Return
                small=0 qftext=Quorf netdelay=0 sound=101 delay=5
            else
                answer Escape
            fi
            ;;
        colour)  # Text 1, Text 2, Background 1, Background 2
            pick 4
            click_in "$dialog" $((336 + 104 * (R % 2))) $((284 + 32 * (R / 2)))
            on_button=1
            settle "colour options" ""
            press "${WIN[colour]}" Escape
            ;;
        browse)
            press "$dialog" alt+b
            settle "file options" ""
            press "${WIN[file]}" Escape
            ;;
        add)  # mostly the second installation, sometimes the third, now and then itself
            pick 5
            dir=$b
            ((R == 3)) && dir=$c
            ((R == 4)) && dir=$a
            press "$dialog" alt+b
            settle "file options" ""
            chooser=${WIN[file]}
            type_into "$chooser" "$dir/qfd"
            # The file name box offers completions as the folder is read: put the list away first.
            if e2e_wait_for 3 e2e_menu_open "$qa"; then
                xdotool key --clearmodifiers Escape
                e2e_wait_for 5 e2e_menu_closed "$qa" || e2e_fail "the completion list stayed open"
            fi
            xdotool key --clearmodifiers Return
            if [[ $dir == "$a" ]] || printf '%s\n' "${rows[@]}" | grep -qxF "$dir/"; then
                answer Return  # "can't add yourself", "already in the list"
            else
                rows+=("$dir/")
                for ((i = 0; i < ${#slots[@]}; i++)); do [[ -n ${slots[i]} ]] || break; done
                slots[i]="$dir/"
            fi
            ;;
        remove)
            pick 2
            if ((R)); then
                # The first row by a click, then down the list by keys.
                click_in "$dialog" 100 72
                pick $((${#rows[@]} > 0 ? ${#rows[@]} : 1))
                selected=$R on_button=0
                downs "$R"
                ((R == 0)) || press "$dialog" "${DOWNS[@]}"
            fi
            press "$dialog" alt+r
            if ((selected < 0 || ${#rows[@]} == 0)); then
                answer Return  # "get rid of nothing"
            else
                pick 3
                if ((R)); then
                    answer Return
                    for ((i = 0; i < ${#slots[@]}; i++)); do
                        [[ ${slots[i]} != "${rows[selected]}" ]] || slots[i]=""
                    done
                    rows=() selected=-1
                    for row in "${slots[@]}"; do [[ -z $row ]] || rows+=("$row"); done
                else
                    answer Escape
                fi
            fi
            ;;
        mail)  # a record that arrives meanwhile waits until the dialog has closed
            "$QFDCTL_BIN" send --name "Mo" "$a" || e2e_fail "qfdctl send failed"
            mail_waiting=1 mail_a=1
            ;;
    esac
    settle options ""
}

close_options() {
    local keys=(Return alt+c Escape)
    pick 3
    # Enter presses the button that has the focus, and "&Close" only when no other button has it.
    ((R > 0 || !on_button)) || R=2
    e2e_log "step $step: options: close by ${keys[R]}"
    press "$dialog" "${keys[R]}"
    dialog=""
    if ((mail_waiting)); then
        mail_waiting=0
        alert_on_a 1 Mo
    else
        settle "" ""
    fi
}

# --- Network alerts --------------------------------------------------------------------------

# The record in the mailbox of TAG (b or c) carries the first installation's name and top text.
record_from_a() {  # record_from_a TAG
    local got="${INI[$1:Commands:NetName]-}/${INI[$1:Commands:QFtext]-}"
    [[ $got == "$name/$qftext" ]] || e2e_fail "the record ($1) has '$got', not '$name/$qftext'"
}

# "&Network Alert" in the first installation's menu: "&Send To All", one detector (below the
# separator) or "&Send To All But..." one; the detectors stand in slot order.
network_alert() {
    local list=() to=() k i
    for i in "${slots[@]}"; do [[ -z $i ]] || list+=("$i"); done
    pick 3
    if ((${#list[@]} == 0 || R == 0)); then
        e2e_log "step $step: &Network Alert, &Send To All: ${list[*]:-nobody}"
        menu "$qa" "$icon_a" n
        submenu "$qa" 2 Down Return
        to=("${list[@]}")
    elif ((R == 1 || ${#list[@]} < 2)); then
        pick ${#list[@]}
        e2e_log "step $step: &Network Alert to ${list[R]}"
        menu "$qa" "$icon_a" n
        downs $((R + 2))
        submenu "$qa" 2 "${DOWNS[@]}" Return
        to=("${list[R]}")
    else
        pick ${#list[@]}
        k=$R
        e2e_log "step $step: &Network Alert, &Send To All But... ${list[k]}"
        menu "$qa" "$icon_a" n
        submenu "$qa" 2 Right
        downs "$k"
        submenu "$qa" 3 "${DOWNS[@]}" Return
        for ((i = 0; i < ${#list[@]}; i++)); do ((i == k)) || to+=("${list[i]}"); done
    fi
    for i in "${to[@]}"; do
        [[ $i == "$b/" ]] && mail_b=1
        [[ $i == "$c/" ]] && mail_c=1
    done
    if ((mail_c)); then
        e2e_wait_for "$WAIT" ini_right || e2e_fail "no record reached the switched-off installation"
        record_from_a c
        i=$((netdelay ? delay : 0))
        [[ ${INI[c:Commands:Delay]-} == "$i" ]] ||
            e2e_fail "the record waits '${INI[c:Commands:Delay]-}' seconds, not $i"
        # That machine is off: its owner takes the record back by hand.
        e2e_set_ini "$c" Commands Type 0
        mail_c=0
    fi
    if ((mail_b)); then
        settle "" alert
        scan "$qb" "$icon_b"
        alert_placed "${WIN[alert]}" alert
        record_from_a b
        click_away "$qb" "$icon_b" alert
        mail_b=0
    fi
    settle "" ""
}

# --- The walk --------------------------------------------------------------------------------

settle "" ""  # the splashes have closed by themselves
start=$SECONDS
for ((step = 1; step <= STEPS; step++)); do
    if [[ -n $next_edit ]]; then
        edit_options "$next_edit"
        next_edit=""
        continue
    elif [[ -n $dialog ]]; then
        pick 4
        if ((R == 0)); then close_options; else edit_options ""; fi
        continue
    fi
    pick 100
    if ((R < 12)); then
        e2e_log "step $step: the about window"
        tray_click "$icon_a" 1
        splash=1
        settle "" ""
        pick 4
        case $R in
            0) press "${WIN[splash]}" Escape ;;
            1) press "${WIN[splash]}" a ;;
            2) click_in "${WIN[splash]}" 240 60 ;;  # the logo
            3) ;;                                  # left up
        esac
        ((R == 3)) || splash=0
        settle "" ""
    elif ((R < 15)); then
        e2e_log "step $step: &About..."
        menu "$qa" "$icon_a" a
        splash=1
        settle "" ""
    elif ((R < 25)); then
        e2e_log "step $step: &Instant Alert"
        menu "$qa" "$icon_a" i
        alert_on_a 0
    elif ((R < 32)); then
        if ((delay > 2)); then
            e2e_log "step $step: the options, for a shorter delay"
            open_options
            next_edit=delay
            continue
        fi
        e2e_log "step $step: &Delayed Alert after $delay s"
        menu "$qa" "$icon_a" d
        alert_on_a 0
    elif ((R < 57)); then
        e2e_log "step $step: &Options..."
        open_options
    elif ((R < 71)); then
        network_alert
    elif ((R < 79)); then
        e2e_log "step $step: the second installation alerts the first through qfdctl"
        "$QFDCTL_BIN" send --from "$b" "$a" || e2e_fail "qfdctl send failed"
        alert_on_a 1 Bea
    elif ((R < 85)); then
        pick 2
        e2e_log "step $step: the second installation alerts the first from its menu"
        menu "$qb" "$icon_b" n
        # The detector (the last item, upwards) or "&Send To All".
        submenu "$qb" 2 "$( ((R)) && echo Up || echo Down)" Return
        alert_on_a 1 Bea
    elif ((R < 95)); then
        pick 3
        e2e_log "step $step: qfdctl send into the mailbox, waiting $((R / 2)) s"
        "$QFDCTL_BIN" send --name "Zed $step" --top "Top $step" --bottom Bottom \
            --delay $((R / 2)) "$a" || e2e_fail "qfdctl send failed"
        alert_on_a 1 "Zed $step"
    elif ((R < 97)); then
        e2e_log "step $step: E&xit, answered No"
        menu "$qa" "$icon_a" x
        answer Escape ""
        settle "" ""
    else
        e2e_log "step $step: &Cancel"
        menu "$qa" "$icon_a" c
        settle "" ""
    fi
done
step=$STEPS
[[ -z $dialog ]] || close_options
e2e_log "passed: $STEPS steps in $((SECONDS - start)) s, seed $SEED"

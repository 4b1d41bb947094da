#!/usr/bin/env bats
# tavorin-com on fake sysfs, /dev and /etc trees; udevadm, usermod and id are fakes that log.

COMMAND="$BATS_TEST_DIRNAME/../../packaging/tavorin-com"
COM2_RULE='SUBSYSTEM=="tty", ATTRS{idVendor}=="0403", ATTRS{idProduct}=="6001", ATTRS{serial}=="A50285BI", SYMLINK+="COM2", GROUP="dialout", MODE="0660", ENV{ID_MM_DEVICE_IGNORE}="1"'

setup() {
    ROOT=$(mktemp -d /tmp/tavorin-com-test.XXXXXX)
    chmod 755 "$ROOT"
    mkdir -p "$ROOT/bin" "$ROOT/dev/serial/by-id" "$ROOT/etc/udev/rules.d" "$ROOT/sys/class/tty/console"
    echo tty0 >"$ROOT/sys/class/tty/console/active"
    echo 'dialout:x:20:' >"$ROOT/etc/group"
    # trigger makes the link named in $ROOT/appears ("ttyUSB0 $ROOT/dev/COM2"), as udev would.
    printf '#!/bin/sh\necho "udevadm $*" >>"%s/calls"\n[ "$1" != trigger ] || [ ! -f "%s/appears" ] || ln -s $(cat "%s/appears")\n' "$ROOT" "$ROOT" "$ROOT" >"$ROOT/bin/udevadm"
    printf '#!/bin/sh\necho "usermod $*" >>"%s/calls"\n' "$ROOT" >"$ROOT/bin/usermod"
    printf '#!/bin/sh\n[ "$1" = -u ] && echo "${FAKE_UID:-0}" || echo karel\n' >"$ROOT/bin/id"
    chmod 755 "$ROOT/bin"/*
    export PATH="$ROOT/bin:$PATH" SUDO_USER=karel TAVORIN_COM_CEKANI=0
    RULES="$ROOT/etc/udev/rules.d/99-tavorin-com.rules"
}

teardown() { rm -rf "$ROOT"; }

# adapter NAME SOCKET [SERIAL]: an FTDI adapter on a USB socket, as sysfs and /dev show it.
adapter() {
    local usb="$ROOT/sys/devices/pci0000:00/0000:00:14.0/usb1/$2"
    : >"$ROOT/dev/$1"
    mkdir -p "$usb/$2:1.0/$1" "$ROOT/sys/class/tty/$1"
    printf '0403\n' >"$usb/idVendor" && printf '6001\n' >"$usb/idProduct"
    printf 'FTDI\n' >"$usb/manufacturer" && printf 'FT232R USB UART\n' >"$usb/product"
    [ -z "${3:-}" ] || echo "$3" >"$usb/serial"
    ln -s "$usb/$2:1.0/$1" "$ROOT/sys/class/tty/$1/device"
}

com() { "$COMMAND" --koren "$ROOT" "$@"; }

@test "lists the adapters, their COM and the dialout group" {
    adapter ttyUSB0 1-2 A50285BI
    adapter ttyACM0 3-1.4
    mkdir -p "$ROOT/sys/class/tty/ttyS0" # a built-in port: no USB device above it
    ln -s ../../ttyUSB0 "$ROOT/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"
    ln -s ttyUSB0 "$ROOT/dev/COM2"
    run com
    [[ $status -eq 0 && "$output" == "Převodníky USB na sériový port / USB serial adapters:
  /dev/ttyACM0  FTDI FT232R USB UART
      bez sériového čísla / no serial number
      zásuvka USB / USB socket: 3-1.4
  /dev/ttyUSB0  FTDI FT232R USB UART
      sériové číslo / serial number: A50285BI
      zásuvka USB / USB socket: 1-2
      /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0
      je / is COM2
COM1: nepřiřazen / not assigned
COM2: /dev/COM2 -> /dev/ttyUSB0
Skupina dialout / dialout group: karel v ní není / karel is not a member (sudo tavorin-com COM1|COM2 ho přidá / adds them)" ]]
}

@test "the only adapter becomes COM2 by its serial number; udev reloads; the user joins dialout" {
    adapter ttyUSB0 1-2 A50285BI
    echo "ttyUSB0 $ROOT/dev/COM2" >"$ROOT/appears"
    run com COM2
    [ "$(sed -n '3,$p' "$RULES")" = "# COM2: FTDI FT232R USB UART, sériové číslo / serial number A50285BI
$COM2_RULE" ]
    [ "$(cat "$ROOT/calls")" = "udevadm control --reload-rules
udevadm trigger --action=change --subsystem-match=tty
usermod -aG dialout karel" ]
    [[ $status -eq 0 && "$output" == *"/dev/COM2 je připraven (-> /dev/ttyUSB0)."*"User karel is now in the group dialout: log out and in again."* ]]
}

@test "an adapter without a serial number is matched by its USB socket; a link that never comes fails" {
    adapter ttyUSB3 1-1.2
    run com com1
    [ "$(sed -n '3,$p' "$RULES")" = '# COM1: FTDI FT232R USB UART, bez sériového čísla: podle zásuvky USB 1-1.2 / no serial number: by USB socket 1-1.2
SUBSYSTEM=="tty", KERNELS=="1-1.2", ATTRS{idVendor}=="0403", ATTRS{idProduct}=="6001", SYMLINK+="COM1", GROUP="dialout", MODE="0660", ENV{ID_MM_DEVICE_IGNORE}="1"' ]
    [[ $status -eq 1 && "$output" == *"always plug it in there."*"/dev/COM1 did not appear within 0 s"* ]]
}

@test "two adapters and none named is an error listing both; --zarizeni picks one" {
    adapter ttyUSB0 1-2 A50285BI
    adapter ttyUSB1 1-3 B7
    run com COM1
    [[ $status -eq 1 && "$output" == *"/dev/ttyUSB0  FTDI"*"/dev/ttyUSB1  FTDI"*"--zarizeni /dev/ttyUSB0"* ]]
    [[ ! -e $RULES && ! -e $ROOT/calls ]]
    run com COM1 --zarizeni /dev/ttyUSB1
    grep -qF 'ATTRS{serial}=="B7", SYMLINK+="COM1"' "$RULES"
}

@test "assigning COM1 keeps the COM2 line; removing goes one COM at a time; an adapter moves" {
    adapter ttyUSB1 2-1 C9
    printf '# old\n# COM2: FTDI FT232R USB UART, sériové číslo / serial number A50285BI\n%s\n' "$COM2_RULE" >"$RULES"
    run com COM1
    grep -qxF "$COM2_RULE" "$RULES"
    grep -qF '# COM1: FTDI FT232R USB UART, sériové číslo / serial number C9' "$RULES"
    grep -qF 'ATTRS{serial}=="C9", SYMLINK+="COM1"' "$RULES"
    run com --zrusit COM1
    [[ $status -eq 0 && "$(sed -n '3,$p' "$RULES")" == "# COM2: FTDI FT232R USB UART, sériové číslo / serial number A50285BI
$COM2_RULE" ]]
    run com --zrusit COM2
    [[ $status -eq 0 && ! -e $RULES ]]
    run com COM1
    run com COM2 # the same adapter moves
    [ "$(grep -o 'SYMLINK+="COM[12]"' "$RULES")" = 'SYMLINK+="COM2"' ]
}

@test "refused: the console, without root, an unwritable rules folder; nothing changes" {
    adapter ttyUSB0 1-2 A50285BI
    echo 'tty0 ttyUSB0' >"$ROOT/sys/class/tty/console/active"
    run com COM1
    [[ $status -eq 1 && "$output" == *"/dev/ttyUSB0 is the system console"* ]]
    echo tty0 >"$ROOT/sys/class/tty/console/active"
    FAKE_UID=1000 run com COM1
    [[ $status -eq 1 && "$output" == *"run: sudo tavorin-com COM1"* ]]
    [[ ! -e $RULES && ! -e $ROOT/calls ]]
    echo '# an old rule' >"$RULES"
    chmod 555 "$ROOT/etc/udev/rules.d"
    # root writes anywhere: the command runs as nobody, and the fake id still says root
    as_file_user=""
    [ "$(/usr/bin/id -u)" -ne 0 ] || as_file_user="setpriv --reuid=65534 --regid=65534 --clear-groups"
    run $as_file_user "$COMMAND" --koren "$ROOT" COM1
    [[ $status -eq 1 && "$output" == *"Cannot write to the folder"* ]]
    [[ $(cat "$RULES") == '# an old rule' && $(ls -A "$ROOT/etc/udev/rules.d") == 99-tavorin-com.rules ]]
}


#!/bin/sh
# Run inside a private user and mount namespace (unshare -rm), so that no root is needed:
#   small_disk.sh full|read-only <program folder> <driver> <product> <quantity>
# full: a 4 MB file system of its own holds a copy of the folder's databases, is filled up, and
# the database's own free pages are used up (4,000 movements of quantity 0 with a full invoice
# field, on product 2: a larger file has more free pages to use up), so the next
# save must grow the file; the driver then saves one entry there, and the database is copied back
# as after.GDB. read-only: the folder itself is made read-only and the driver saves one entry.
set -u
mode=$1 folder=$2 driver=$3 product=$4 quantity=$5
case $mode in
full)
    disk=$folder/disk
    mkdir -p "$disk" && mount -t tmpfs -o size=4m quiru-test "$disk" || exit 1
    cp "$folder/QUIRU.GDB" "$folder/CONFIG.GDB" "$folder/ConfiguracoesQUIRU.txt" "$disk/"
    dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null
    i=0
    while [ $i -lt 4000 ]; do
        echo "insert into TMOVIMENTACAO (CODIGO, PRODUTO, QUANTIDADE, TIPO, NOTA_COMPRA) values ($((i + 900000)), 2, 0, 'ENTRADA', '$(printf %050d $i)'); commit;"
        i=$((i + 1))
    done | isql-fb -q -user SYSDBA "$disk/QUIRU.GDB" >/dev/null 2>&1
    "$driver" entry "$disk/" "$product" "$quantity"
    cp "$disk/QUIRU.GDB" "$folder/after.GDB"
    ;;
read-only)
    mount --bind "$folder" "$folder" && mount -o remount,ro,bind "$folder" || exit 1
    "$driver" entry "$folder/" "$product" "$quantity"
    ;;
esac

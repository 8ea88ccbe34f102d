#!/bin/sh
# A browser for the help test: winebrowser runs it with the address of the page; it only
# notes that address, one line per request, in C:\varokinto-browser.log of the prefix.
echo "$1" >>"${WINEPREFIX:?}/drive_c/varokinto-browser.log"

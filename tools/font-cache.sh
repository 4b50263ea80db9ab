#!/usr/bin/env bash
# Prints the folder where the set-up keeps fonts fetched from outside Debian.
echo "${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/orvanta-fonts"

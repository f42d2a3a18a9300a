#!/usr/bin/env python3
"""Wraps the program's 128 x 128 icon PNG (made by vqgen-icon) into an ICO file."""
import struct
import sys

png = open(sys.argv[1], "rb").read()
entry = struct.pack("<BBBBHHII", 128, 128, 0, 0, 1, 32, len(png), 6 + 16)
open(sys.argv[2], "wb").write(struct.pack("<HHH", 0, 1, 1) + entry + png)

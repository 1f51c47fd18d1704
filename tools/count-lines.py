#!/usr/bin/env python3
"""Lines of tests against lines of product, without blank and comment lines."""
import re, subprocess, sys

def code_lines(path):
    n, in_block = 0, False
    for line in open(path, encoding="utf-8", errors="replace"):
        s = line.strip()
        if in_block:
            if "*/" in s:
                in_block = False
                s = s.split("*/", 1)[1].strip()
            else:
                continue
        if not s or s.startswith("//"):
            continue
        if s.startswith("/*"):
            if "*/" not in s:
                in_block = True
            continue
        n += 1
    return n

files = subprocess.run(["git", "ls-files"], capture_output=True, text=True, check=True).stdout.split()
tests = product = 0
for f in files:
    if not re.search(r"\.(cpp|h|qml|js)$", f) or f.startswith(("bench/", "build")):
        continue
    if f.startswith("tests/"):
        tests += code_lines(f)
    else:
        product += code_lines(f)
print(f"tests {tests}  product {product}  ratio {tests / product:.2f}")
sys.exit(0)

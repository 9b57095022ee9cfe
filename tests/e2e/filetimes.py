"""Prints the seconds each test file took, the longest first, from the JUnit files of the
end-to-end sessions (scripts/e2e.sh): the lines of tests/e2e/durations.txt."""
import sys
import xml.etree.ElementTree as ET
from collections import defaultdict

seconds = defaultdict(float)
for path in sys.argv[1:]:
    for case in ET.parse(path).iter("testcase"):
        name = case.get("classname", "").split(".")[-1] + ".py"
        seconds[name] += float(case.get("time", 0))
for name, total in sorted(seconds.items(), key=lambda item: -item[1]):
    print(f"{total:.0f} {name}")

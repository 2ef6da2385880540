"""Reads a JUnit report as CI servers do (junitparser, Debian's python3-junitparser) and
compares what it finds with the expected outcome of each test case.

usage: CheckJUnit.py REPORT SUITE LINE:OUTCOME...   (OUTCOME: passed, failure, skipped, error)
"""
import sys

from junitparser import Error, Failure, JUnitXml, Skipped


def outcome(case):
    if not case.result:
        return "passed"
    kinds = {Failure: "failure", Skipped: "skipped", Error: "error"}
    return ",".join(kinds.get(type(result), type(result).__name__) for result in case.result)


def main():
    report, suite_name, *expected = sys.argv[1:]
    xml = JUnitXml.fromfile(report)
    suites = list(xml) if isinstance(xml, JUnitXml) else [xml]
    if len(suites) != 1 or suites[0].name != suite_name:
        sys.exit(f"expected one suite {suite_name!r}, found {[s.name for s in suites]}")
    suite = suites[0]
    found = [f"{case.name.split(':', 1)[0]}:{outcome(case)}" for case in suite]
    if found != expected:
        sys.exit(f"cases {found}, expected {expected}")
    counted = (suite.tests, suite.failures, suite.errors, suite.skipped)
    wanted = (len(expected), sum(e.endswith(":failure") for e in expected),
              sum(e.endswith(":error") for e in expected),
              sum(e.endswith(":skipped") for e in expected))
    if counted != wanted:
        sys.exit(f"suite counts (tests, failures, errors, skipped) {counted}, expected {wanted}")
    for case in suite:
        if case.classname != suite_name or case.time is None:
            sys.exit(f"case {case.name!r} lacks its classname or time")


main()

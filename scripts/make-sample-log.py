#!/usr/bin/env python3
"""Writes docs/sample-results.csv: 36 tests of a student who practises on the sample bank for
seven weeks, in the results log's format of today, every question's answer letter and check
those of the built bank. The draw is a Verbal Test's (distinct records at random) or, for the
Practice Tests, the questions missed last first; the student answers a question right with a
chance that grows with practice and differs by kind, and takes 15 to 75 seconds a question.

    scripts/make-sample-log.py build-tests/sample > docs/sample-results.csv

The same seed gives the same log; the pictures of the README are made from it."""
import csv, datetime, random, sys

folder = sys.argv[1]
bank = open(f"{folder}/verbal.zep", "rb").read()
records = [bank[i:i + 576] for i in range(0, len(bank) - len(bank) % 576, 576)]


def check(record):
    # CRC-16 as Lexamo keeps it: reflected polynomial 0x8408, start and final xor 0xffff.
    crc = 0xFFFF
    for byte in record:
        crc ^= byte
        for _ in range(8):
            crc = (crc >> 1) ^ 0x8408 if crc & 1 else crc >> 1
    return crc ^ 0xFFFF


answers = [chr(r[575]) for r in records]
notes = {int(row["record"]): row["kind"] for row in
         csv.DictReader(open(f"{folder}/verbal.notes.csv", encoding="utf-8", newline=""))}
skill = {"antonym": 0.62, "synonym": 0.66, "analogy": 0.45, "sentence completion": 0.55,
         "word in context": 0.58, "odd one out": 0.50}
rng = random.Random(20261020)
header = "date,ended,questions,minutes,seconds,correct,kind" + "".join(
    f",record{n},chosen{n},answer{n},check{n},time{n}" for n in range(1, 51))
lines = [header]
missed_last = {}
days = sorted(rng.sample(range(49), 36))  # 2026-10-20 to 2026-12-07, one test a day at most
for test in range(36):
    day = datetime.datetime(2026, 10, 20, 17, 0) + datetime.timedelta(
        days=days[test], minutes=rng.randint(0, 300), seconds=rng.randint(0, 59))
    practice = test >= 12 and test % 4 == 3
    if practice:
        missed = [n for n, m in missed_last.items() if m]
        rng.shuffle(missed)
        fresh = [n for n in range(1, len(records) + 1) if n not in missed_last]
        rest = [n for n in range(1, len(records) + 1) if n not in missed and n not in fresh]
        rng.shuffle(fresh)
        rng.shuffle(rest)
        drawn = (missed + fresh + rest)[:15]
        rng.shuffle(drawn)
    else:
        drawn = rng.sample(range(1, len(records) + 1), 15)
    progress = test / 35
    ending, shown, seconds = "complete", [], 0
    for recnum in drawn:
        time = rng.randint(15, 75)
        if seconds + time > 15 * 60:
            ending, time = "time-over", 15 * 60 - seconds
            seconds = 15 * 60
            shown.append((recnum, "", time))
            break
        seconds += time
        kind = notes.get(recnum, "")
        right = rng.random() < min(0.95, skill.get(kind, 0.55) + 0.3 * progress)
        answer = answers[recnum - 1]
        chosen = answer if right else rng.choice([c for c in "abcde" if c != answer])
        shown.append((recnum, chosen, time))
    if ending == "complete" and test in (7, 22):  # twice the student stops early
        ending, shown = "quit", shown[:rng.randint(5, 10)]
        seconds = sum(t for _, _, t in shown)
    correct = sum(1 for r, c, _ in shown if c == answers[r - 1])
    for r, c, _ in shown:
        missed_last[r] = c != answers[r - 1]
    fields = [day.strftime("%Y-%m-%dT%H:%M:%S"), ending, "15", "15", str(seconds), str(correct),
              "practice" if practice else "verbal"]
    for r, c, t in shown:
        fields += [str(r), c, answers[r - 1], f"{check(records[r - 1]):04x}", str(t)]
    lines.append(",".join(fields))
sys.stdout.buffer.write(("\r\n".join(lines) + "\r\n").encode())

"""A Python host whose multiprocessing pool forks (the fork start method) while
one of its threads talks to a recorder and the refresh thread runs: 100
children, one task each; each child reads the device list (update, count) and
ends. Fault: a child that finds a library lock held by a thread it does not
have hangs, and the pool's result never comes (the 120 s wait fails)."""
import multiprocessing
import sys
import threading
import time

import vestra

TASKS = 100


def in_child(_):
    return len(vestra.devices(update=True))


def talk(stop):
    while not stop.is_set():
        with vestra.Recorder.from_list(0, password="888888") as recorder:
            recorder.dev_name


vestra.start_monitor()
while len(vestra.devices(update=False)) < 2:
    time.sleep(0.01)
stop = threading.Event()
talker = threading.Thread(target=talk, args=(stop,))
talker.start()
pool = multiprocessing.get_context("fork").Pool(2, maxtasksperchild=1)
try:
    counts = pool.map_async(in_child, range(TASKS)).get(timeout=120)
finally:
    pool.terminate()
    stop.set()
    talker.join()
print(f"forked children: {len(counts)} of {TASKS} answered, lists of {min(counts)} to {max(counts)}",
      flush=True)
sys.exit(0 if len(counts) == TASKS and min(counts) == 2 else 1)

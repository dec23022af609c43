#!/usr/bin/env python3
"""Writes reference results of the 31-bit Mersenne Twister for one seed, for the tests.

The seeding (state[0] = seed, state[i] = state[i-1] * 69069 mod 2^32) is done here; the
generation and tempering are Python's own MT19937, so the reference does not share code
with the generator it checks.

    tools/mtrand_reference.py SEED COUNT > tests/data/random/mtrand_seed_SEED.txt
"""
import random
import sys


def reference_state(seed):
    state = [seed if seed != 0 else 4357]
    for _ in range(623):
        state.append((state[-1] * 69069) & 0xFFFFFFFF)
    return state


def main():
    seed, count = int(sys.argv[1]), int(sys.argv[2])
    generator = random.Random()
    # Index 624 makes Python regenerate the whole state before its first result.
    generator.setstate((3, tuple(reference_state(seed) + [624]), None))
    print(f"# MTRand results for seed {seed}, top bit cleared, one per line")
    for _ in range(count):
        print(generator.getrandbits(32) & 0x7FFFFFFF)


if __name__ == "__main__":
    main()

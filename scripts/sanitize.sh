#!/usr/bin/env bash
# Builds the unit and integration tests (and the programs they run) with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/ and runs them: any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined"
# Only what these tests run: the window program is built, without the sanitizers, by the test command.
cmake --build build-asan -j"$(nproc)" \
    --target velomira_unit_tests velomira_integration_tests velomira-render velomira_artwork
# The structure checks (program-folder copy, install, package) look at files the test command's build
# already checked; here they would need the window program built with the sanitizers for nothing.
ctest --test-dir build-asan -L 'unit|integration' -E '^Structure\.' -j"$(nproc)" --output-on-failure

#!/usr/bin/env bash
# Builds the vCard reader's fuzz target with clang's libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer. Not part of the normal build. Then, for example:
#   build-fuzz/vcard_fuzzer -dict=tools/fuzz/vcard.dict -max_total_time=300 \
#       build-fuzz/corpus tests/data/vcard
set -euo pipefail
cd "$(dirname "$0")/../.."

out=build-fuzz
mkdir -p "$out/corpus"
sources=(
  src/platform/contactstore/vcard/Card.cpp
  src/platform/contactstore/vcard/CardBuilder.cpp
  src/platform/contactstore/vcard/CardLabels.cpp
  src/platform/contactstore/vcard/CardReader.cpp
  src/platform/contactstore/vcard/CardWriter.cpp
  src/platform/contactstore/vcard/ContentLine.cpp
  src/platform/contactstore/vcard/ValueCodec.cpp
)
clang++ -std=c++20 -O1 -g -fno-omit-frame-pointer \
  -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -Isrc "${sources[@]}" tools/fuzz/vcard_fuzzer.cpp \
  $(pkg-config --cflags --libs icu-uc) -o "$out/vcard_fuzzer"
echo "built $out/vcard_fuzzer"

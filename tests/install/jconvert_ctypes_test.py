#!/usr/bin/env python3
"""libjconvert called by function name from Python through ctypes.

The build tree is installed into a temporary prefix and the library is
loaded from there, from a folder outside the build tree. Expected values
come from Python's own codecs (shift_jis, euc_jp, iso2022_jp, base64) and
from the conversion rules' examples.
Usage: jconvert_ctypes_test.py BUILD_DIR
"""
import base64
import ctypes
import os
import re
import subprocess
import sys
import tempfile
import unittest

BUILD = sys.argv.pop(1)
WORK = tempfile.TemporaryDirectory()
PREFIX = os.path.join(WORK.name, "prefix")
subprocess.run(["cmake", "--install", BUILD, "--prefix", PREFIX],
               check=True, stdout=subprocess.DEVNULL)
os.chdir(WORK.name)


def installed(name):
    for folder, _, files in os.walk(PREFIX):
        if name in files:
            return os.path.join(folder, name)
    raise FileNotFoundError(name + " is not installed")


LIBRARY_PATH = installed("libjconvert.so.1")
LIB = ctypes.CDLL(LIBRARY_PATH)
LIBC = ctypes.CDLL(None)
LIBC.free.argtypes = [ctypes.c_void_p]
SIZE = ctypes.c_size_t


def declare(name, *extra):
    function = getattr(LIB, name)
    function.argtypes = [ctypes.c_char_p, SIZE, *extra, ctypes.POINTER(SIZE)]
    function.restype = ctypes.c_void_p
    return function


def call(name, data, *extra, extra_types=()):
    """Calls a text function and frees its buffer, as the header asks."""
    function = declare(name, *extra_types)
    length = SIZE(0)
    pointer = function(data, len(data), *extra, ctypes.byref(length))
    if pointer is None:
        return None
    try:
        return ctypes.string_at(pointer, length.value + 1)[:-1]
    finally:
        LIBC.free(pointer)


TEXT = "漢字とかなとカナ\r\nabc 全角ＡＢＣ。\nend 表示\n"


class ExportedNames(unittest.TestCase):
    def test_every_name_of_the_header_is_exported_and_nothing_else(self):
        with open(installed("jconvert.h"), encoding="utf-8") as header:
            source = re.sub(r"/\*.*?\*/", "", header.read(), flags=re.S)
        declared = set(re.findall(r"\b(\w+)\s*\(", source)) | {"STRICT_CHECK_LEN"}
        nm = subprocess.run(["nm", "-D", "--defined-only", LIBRARY_PATH],
                            check=True, capture_output=True, text=True).stdout
        exported = {line.split()[-1].split("@")[0] for line in nm.splitlines()}
        exported -= {"JCONVERT_1"}
        self.assertEqual(exported, declared)
        for name in declared:
            self.assertTrue(hasattr(LIB, name), name)

    def test_strict_check_len(self):
        self.assertEqual(ctypes.c_int.in_dll(LIB, "STRICT_CHECK_LEN").value, 512)


class Conversions(unittest.TestCase):
    def test_shift_jis_to_euc_and_back(self):
        sjis, euc = TEXT.encode("shift_jis"), TEXT.encode("euc_jp")
        self.assertEqual(call("sjis2euc", sjis), euc)
        self.assertEqual(call("euc2sjis", euc), sjis)

    def test_shift_jis_to_jis_reads_back_as_iso_2022_jp(self):
        jis = call("sjis2jis83", TEXT.encode("shift_jis"))
        self.assertEqual(jis.decode("iso2022_jp"), TEXT)
        self.assertNotIn(b"\x1b(B", jis)  # kanji mode ends with ESC ( J
        self.assertEqual(call("sjis2jis83", "あいA".encode("shift_jis")),
                         b"\x1b$B\x24\x22\x24\x24\x1b(JA")

    def test_jis_to_shift_jis_and_euc(self):
        jis = TEXT.encode("iso2022_jp")
        self.assertEqual(call("jis2sjis", jis), TEXT.encode("shift_jis"))
        self.assertEqual(call("jis2euc", jis), TEXT.encode("euc_jp"))

    def test_convert_j_code_detects_the_source(self):
        int_type = (ctypes.c_int,)
        cases = [  # (text, target code, expected)
            (TEXT.encode("shift_jis"), 4, TEXT.encode("euc_jp")),
            (TEXT.encode("iso2022_jp"), 5, TEXT.encode("shift_jis")),
            ("字".encode("shift_jis"), 2, b"\x1b$B\x3b\x7a\x1b(J"),
            ("あ".encode("euc_jp"), 5, "あ".encode("euc_jp")),  # undecided: unchanged
        ]
        for text, target, expected in cases:
            with self.subTest(text=text, target=target):
                self.assertEqual(call("ConvertJCode", text, target, extra_types=int_type), expected)
        self.assertEqual(call("StrictConvertJCode", "あ".encode("euc_jp"), 4, 5,
                              extra_types=(ctypes.c_int, ctypes.c_int)), b"\x82\xa0")

    def test_detection(self):
        LIB.InCodeCheck.argtypes = [ctypes.c_char_p, SIZE]
        LIB.ReturnCodeCheck.argtypes = [ctypes.c_char_p, SIZE]
        for text, code in [(b"\x82\xa0", 5), (b"\xa4\xa2", 6), (b"\xb0\xf0", 4),
                           (b"\x1b$B\x24\x22", 2), (b"abc", 0), (b"a\x05bc", 1)]:
            self.assertEqual(LIB.InCodeCheck(text, len(text)), code, text)
        for text, value in [(b"a\r\nb", 1), (b"a\rb", 2), (b"a\nb", 3), (b"ab", 0)]:
            self.assertEqual(LIB.ReturnCodeCheck(text, len(text)), value, text)

    def test_one_character_functions(self):
        out = (ctypes.c_ubyte * 2)()
        LIB.ToSjis(0x24, 0x22, out)
        self.assertEqual(bytes(out), "あ".encode("shift_jis"))
        LIB.ToJis(*"漢".encode("shift_jis"), out)
        self.assertEqual(bytes(out), bytes(b & 0x7F for b in "漢".encode("euc_jp")))

    def test_mail_encodings_carry_nul_bytes(self):
        data = b"\x00\x82\xa0\xff" * 20
        self.assertEqual(call("EncodeBase64", data), base64.b64encode(data))
        self.assertEqual(call("DecodeBase64", base64.b64encode(data)), data)

    def test_a_missing_text_is_refused(self):
        function = declare("sjis2euc")
        self.assertIsNone(function(None, 3, None))


if __name__ == "__main__":
    try:
        unittest.main(verbosity=2)
    finally:
        WORK.cleanup()

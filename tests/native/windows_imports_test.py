"""The XP load check on small PE images made here: each fault it must name."""
import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "scripts"))
import windows_imports  # noqa: E402

TABLE = """source: xp-exports
source: msdn
windows-dlls: kernel32.dll user32.dll
kernel32.dll  GetTickCount    5.1  xp-exports
kernel32.dll  GetTickCount64  6.0  msdn
user32.dll    @8              5.1  xp-exports
"""


def pe_image(imports, os_version=(4, 0), subsystem_version=(4, 0)):
    """A PE32 image with one section at RVA 0x1000 that holds the import table."""
    section_rva, file_at = 0x1000, 0x200
    body = bytearray(20 * (len(imports) + 1))  # descriptors, then what they point at
    for index, (dll, functions) in enumerate(imports.items()):
        thunks = len(body)
        body += bytes(4 * (len(functions) + 1))
        for number, function in enumerate(functions):
            if function.startswith("@"):
                entry = 0x80000000 | int(function[1:])
            else:
                entry = section_rva + len(body)
                body += b"\0\0" + function.encode() + b"\0"
            struct.pack_into("<I", body, thunks + 4 * number, entry)
        name = section_rva + len(body)
        body += dll.encode() + b"\0"
        struct.pack_into("<IIIII", body, 20 * index, section_rva + thunks, 0, 0, name, section_rva + thunks)
    head = bytearray(file_at)
    head[:2] = b"MZ"
    struct.pack_into("<I", head, 0x3C, 0x40)
    head[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HH12xH", head, 0x44, 0x14C, 1, 224)  # machine, sections, optional header size
    opt = 0x58
    struct.pack_into("<H", head, opt, 0x10B)
    struct.pack_into("<HH", head, opt + 40, *os_version)
    struct.pack_into("<HH", head, opt + 48, *subsystem_version)
    struct.pack_into("<I", head, opt + 92, 16)
    struct.pack_into("<II", head, opt + 96 + 8, section_rva, len(body))
    struct.pack_into("<8sIIII", head, opt + 224, b".idata", len(body), section_rva, len(body), file_at)
    return bytes(head + body)


class WindowsImports(unittest.TestCase):
    def faults(self, image):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as table:
            table.write(TABLE)
        try:
            dlls, rows = windows_imports.read_table(table.name)
        finally:
            os.unlink(table.name)
        return windows_imports.faults(dlls, rows, windows_imports.Pe(image))

    def test_each_fault_is_named(self):
        cases = [  # imports, OS version, subsystem version, the faults expected (substrings)
            ({"KERNEL32.dll": ["GetTickCount"], "USER32.dll": ["@8"]}, (5, 1), (4, 0), []),
            ({"KERNEL32.dll": ["GetTickCount", "GetTickCount64"]}, (4, 0), (4, 0),
             ["KERNEL32.dll!GetTickCount64 first appeared in Windows 6.0 (msdn)"]),
            ({"kernel32.dll": ["Sleep"]}, (4, 0), (4, 0), ["kernel32.dll!Sleep has no row"]),
            ({"zlib1.dll": ["inflate"]}, (4, 0), (4, 0),
             ["zlib1.dll is not one of Windows' own", "zlib1.dll!inflate has no row"]),
            ({"user32.dll": ["@9"]}, (6, 0), (6, 1),
             ["OS version is 6.0", "subsystem version is 6.1", "user32.dll!@9 has no row"]),
        ]
        for imports, os_version, subsystem, expected in cases:
            with self.subTest(imports=imports, os_version=os_version):
                found = self.faults(pe_image(imports, os_version, subsystem))
                self.assertEqual(len(found), len(expected), found)
                for fault, part in zip(found, expected):
                    self.assertIn(part, fault)

    def test_a_damaged_image_is_refused(self):
        image = pe_image({"KERNEL32.dll": ["GetTickCount"]})
        for damaged in (image[:0x50], b"ZM" + image[2:], image[:0x58] + b"\x0b\x02" + image[0x5A:]):
            with self.subTest(size=len(damaged)), self.assertRaises((ValueError, struct.error)):
                windows_imports.Pe(damaged).imports()


if __name__ == "__main__":
    unittest.main()

"""Proves, without Windows, that a 32-bit exe loads on Windows XP SP3 and later.

Usage: windows_imports.py TABLE EXE

Reads the exe's PE header and import tables, and fails, naming each fault, when
- the PE header asks for an OS or subsystem version above 5.1 (XP);
- a DLL it imports from is not one of Windows' own (TABLE's `windows-dlls`);
- an import has no row in TABLE;
- a row of TABLE names a first Windows version newer than XP SP3 (5.1).
Wine cannot show any of this: it exports every function whatever version a
prefix claims, and its loader ignores the header's versions.
"""
import struct
import sys

XP = (5, 1)


def version(text):
    major, minor = text.split(".")
    return int(major), int(minor)


def read_table(path):
    """({dll}, {(dll, function): (first version, source)}, {source names})."""
    dlls, rows, sources = set(), {}, set()
    with open(path, encoding="utf-8") as table:
        lines = table.read().splitlines()
    for number, line in enumerate(lines, 1):
        words = line.split("#", 1)[0].split()
        if not words:
            continue
        if words[0] == "windows-dlls:":
            dlls.update(w.lower() for w in words[1:])
        elif words[0] == "source:":
            sources.add(words[1])
        elif len(words) == 4:
            dll, function, first, source = words
            if source not in sources:
                sys.exit(f"{path}:{number}: source {source} is not named by a `source:` line above it")
            rows[(dll.lower(), function)] = (version(first), source)
        else:
            sys.exit(f"{path}:{number}: expected DLL FUNCTION FIRST-VERSION SOURCE")
    return dlls, rows


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        opt = pe + 24
        if struct.unpack_from("<H", data, opt)[0] != 0x10B:
            raise ValueError("not a 32-bit (PE32) image")
        self.os_version = struct.unpack_from("<HH", data, opt + 40)
        self.subsystem_version = struct.unpack_from("<HH", data, opt + 48)
        count = struct.unpack_from("<I", data, opt + 92)[0]
        self.directories = [struct.unpack_from("<II", data, opt + 96 + 8 * i) for i in range(count)]
        table = opt + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError(f"RVA {rva:#x} is in no section")

    def text(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def thunks(self, rva):
        """The names (or @ordinals) a 32-bit thunk table lists."""
        at = self.offset(rva)
        while True:
            entry = struct.unpack_from("<I", self.data, at)[0]
            if entry == 0:
                return
            yield f"@{entry & 0xFFFF}" if entry & 0x80000000 else self.text(entry + 2)
            at += 4

    def imports(self):
        """(dll, function) of the import table and of the delay-load one."""
        found = []
        for index, size, names_at, name_at in ((1, 20, 0, 12), (13, 32, 16, 4)):
            if index >= len(self.directories) or not self.directories[index][0]:
                continue
            at = self.offset(self.directories[index][0])
            while any(self.data[at:at + size]):
                names, name = (struct.unpack_from("<I", self.data, at + o)[0] for o in (names_at, name_at))
                if index == 1 and not names:  # no lookup table: the address table holds the names
                    names = struct.unpack_from("<I", self.data, at + 16)[0]
                dll = self.text(name)
                found += [(dll, function) for function in self.thunks(names)]
                at += size
        return found


def faults(dlls, rows, pe):
    out = []
    for what, got in (("OS", pe.os_version), ("subsystem", pe.subsystem_version)):
        if tuple(got) > XP:
            out.append(f"the PE header's {what} version is {got[0]}.{got[1]}; Windows XP SP3 is 5.1")
    for dll in sorted({d.lower() for d, _ in pe.imports()} - dlls):
        out.append(f"{dll} is not one of Windows' own DLLs")
    for dll, function in pe.imports():
        row = rows.get((dll.lower(), function))
        if row is None:
            out.append(f"{dll}!{function} has no row in the table of this exe's imports")
        elif row[0] > XP:
            out.append(f"{dll}!{function} first appeared in Windows {row[0][0]}.{row[0][1]} ({row[1]}), "
                       "after XP SP3")
    return out


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: windows_imports.py TABLE EXE")
    dlls, rows = read_table(sys.argv[1])
    try:
        with open(sys.argv[2], "rb") as exe:
            pe = Pe(exe.read())
        imports = pe.imports()
        found = faults(dlls, rows, pe)
    except (ValueError, struct.error, UnicodeDecodeError) as error:
        sys.exit(f"{sys.argv[2]}: cannot read its PE header or imports: {error}")
    if found:
        print(f"{sys.argv[2]} would not load on Windows XP SP3:", file=sys.stderr)
        print("".join(f"  {fault}\n" for fault in found), end="", file=sys.stderr)
        sys.exit(1)
    unused = len(set(rows) - {(d.lower(), f) for d, f in imports})
    print(f"{sys.argv[2]}: loads on Windows XP SP3 and later: OS and subsystem version "
          f"{pe.os_version[0]}.{pe.os_version[1]}, {len(imports)} imports from "
          f"{len({d.lower() for d, _ in imports})} of Windows' own DLLs, each in the table"
          + (f" ({unused} rows of the table no longer imported)" if unused else ""))


if __name__ == "__main__":
    main()

"""Makes the release files of the editor: README.txt, LICENSES.txt, the zip and
SHA256SUMS. Run by scripts/package, which gathers the inputs.

LICENSES.txt lists what the link really put into the exe. The linker's map of
zemlo-config.exe names every archive member it took and every object it
loaded; each such file outside the build tree is traced to the Debian package
that installed it (dpkg -S), or to what scripts/setup built (libjpeg-turbo,
winpthreads), and each package to the component and notice below. A file of any other origin
stops the release: its notice would be missing.
"""
import argparse
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def linked_files(map_path, build_dir):
    """Archives with a member in the exe, and objects loaded whole, outside the build."""
    text = open(map_path, encoding="utf-8", errors="replace").read()
    found = set()
    members = re.search(r"^Archive member included to satisfy reference by file \(symbol\)\n(.*?)"
                        r"^(?:Discarded input sections|Allocating common symbols|Memory Configuration)",
                        text, re.M | re.S)
    if members:
        for line in members.group(1).splitlines():
            if line and not line[0].isspace():
                found.add(re.sub(r"\(.*", "", line))
    found.update(re.findall(r"^LOAD (\S+\.o)$", text, re.M))
    build = os.path.realpath(build_dir)
    paths = {os.path.realpath(os.path.join(build, p)) for p in found}  # relative: to the build
    return sorted(p for p in paths if not p.startswith(build + "/"))


def package_of(path, built):
    """The Debian package of `path`, or the name of what setup built it from."""
    for name, prefix in built.items():
        if path.startswith(os.path.realpath(prefix) + "/"):
            return name
    out = subprocess.run(["dpkg", "-S", path], capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"release: no package installed {path}, so its notice is unknown")
    return out.stdout.split(":", 1)[0]


def version_of(package):
    return subprocess.run(["dpkg-query", "-W", "-f=${Version}", package], capture_output=True,
                          text=True, check=True).stdout


def section(text, start, end, keep_end=False):
    """The text from `start` up to `end`, which is kept or not."""
    begin = text.index(start)
    stop = text.index(end, begin + len(start)) + (len(end) if keep_end else 0)
    return text[begin:stop].rstrip() + "\n"


def jpeg_notice(src):
    ijg = open(os.path.join(src, "README.ijg"), encoding="utf-8").read()
    licence = open(os.path.join(src, "LICENSE.md"), encoding="utf-8").read()
    legal = section(ijg, "LEGAL ISSUES\n============", "\nREFERENCES\n")
    bsd = section(licence, "The Modified (3-clause) BSD License\n===", "\nWhy Three Licenses?")
    return ("This software is based in part on the work of the Independent JPEG Group.\n\n"
            "The libjpeg API library (the part in this program) is under the IJG License,\n"
            "from libjpeg-turbo's README.ijg:\n\n" + legal + "\n"
            "libjpeg-turbo's build system is under the Modified (3-clause) BSD License,\n"
            "from its LICENSE.md:\n\n" + bsd.replace("<br>", ""))


def gcc_notice(copyright_file):
    text = open(copyright_file, encoding="utf-8").read()
    exception = section(text, "GCC RUNTIME LIBRARY EXCEPTION", "requirements of the license of GCC.",
                        keep_end=True)
    return ("libgcc and libstdc++ are free software under the GNU General Public License,\n"
            "version 3 or later, with version 3.1 of the GCC Runtime Library Exception, which\n"
            "allows them to be combined with a program and distributed under terms of one's\n"
            "choice. The Exception:\n\n" + exception)


def licenses(args):
    """(component, package versions, notice) for everything in the exe."""
    components = {}
    built = {"libjpeg-turbo": args.jpeg_prefix, "winpthreads": args.winpthreads_prefix}
    for path in linked_files(args.map, args.build):
        package = package_of(path, built)
        name = os.path.basename(path)
        if package in built:
            key = package
        elif package.startswith("mingw-w64-"):
            key = "winpthreads" if name.startswith("libpthread") else "MinGW-w64 runtime"
        elif re.match(r"(gcc|g\+\+)-mingw-w64-", package):
            key = "GCC runtime libraries (libgcc, libstdc++)"
        else:
            sys.exit(f"release: {path} comes from {package}, for which no notice is known")
        components.setdefault(key, set()).add(package)

    notices = {
        "libjpeg-turbo": lambda: jpeg_notice(args.jpeg_source),
        "MinGW-w64 runtime": lambda: open(args.mingw_runtime_copying, encoding="utf-8").read(),
        "winpthreads": lambda: open(args.winpthreads_copying, encoding="utf-8").read(),
        "GCC runtime libraries (libgcc, libstdc++)": lambda: gcc_notice(args.gcc_copyright),
    }
    order = ["libjpeg-turbo", "MinGW-w64 runtime", "winpthreads",
             "GCC runtime libraries (libgcc, libstdc++)"]
    out = [f"ZEMLO Configurator {args.version}: third-party components\n",
           "zemlo-config.exe is linked statically with the components below, and with\n"
           "nothing else that is not Windows' own. Each is given with its notice.\n"]
    for number, key in enumerate([k for k in order if k in components], 1):
        origins = {
            "libjpeg-turbo": f"Debian: libjpeg-turbo {args.jpeg_version}",
            "winpthreads": f"mingw-w64 {args.winpthreads_version}, built for Windows XP",
        }
        packages = sorted(components[key])
        debian = [f"{p} {version_of(p)}" for p in packages if p not in origins]
        versions = [origins[p] for p in packages if p in origins] + ["Debian: " + ", ".join(debian)] * bool(debian)
        title = f"{number}. {key} ({'; '.join(versions)})"
        out.append("\n" + "=" * 78 + "\n" + title + "\n" + "=" * 78 + "\n\n")
        out.append(notices[key]().rstrip() + "\n")
    return "".join(out)


def write_zip(path, epoch, files):
    """A zip whose bytes depend on the files' names and contents only."""
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name, data in files:
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.external_attr = 0x20  # the archive attribute
            archive.writestr(info, data, compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)


def main():
    parser = argparse.ArgumentParser()
    for option in ("version", "exe", "map", "build", "jpeg-prefix", "jpeg-source", "jpeg-version",
                   "winpthreads-prefix", "winpthreads-version", "mingw-runtime-copying",
                   "winpthreads-copying", "gcc-copyright", "readme", "dist"):
        parser.add_argument("--" + option, required=True)
    parser.add_argument("--epoch", type=int, required=True)
    args = parser.parse_args()

    readme = open(args.readme, encoding="utf-8").read().replace("@VERSION@", args.version)
    files = [
        ("zemlo-config.exe", open(args.exe, "rb").read()),
        # UTF-8 with a byte-order mark, so that every Notepad shows the Russian.
        ("README.txt", b"\xef\xbb\xbf" + crlf(readme).encode("utf-8")),
        ("LICENSES.txt", b"\xef\xbb\xbf" + crlf(licenses(args)).encode("utf-8")),
    ]
    os.makedirs(args.dist, exist_ok=True)
    name = f"zemlo-config-{args.version}-win32.zip"
    write_zip(os.path.join(args.dist, name), args.epoch, files)
    digest = hashlib.sha256(open(os.path.join(args.dist, name), "rb").read()).hexdigest()
    with open(os.path.join(args.dist, "SHA256SUMS"), "w", encoding="ascii", newline="\n") as sums:
        sums.write(f"{digest}  {name}\n")


if __name__ == "__main__":
    main()

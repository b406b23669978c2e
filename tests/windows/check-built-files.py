"""Reads the programs built for Windows as Windows would load them, with pefile:

  check-built-files.py IMPORTS VERSION EXE...

- every function each program imports is one that Windows 7 SP1 has, as the list IMPORTS says
  (tests/windows/windows-imports.txt: each function with the Windows version that brought it);
- its manifest names Windows 7, 8, 8.1 and 10/11 as supported and declares it long-path aware;
- its version resource gives VERSION ("3.00.0001") as its file and product version, and its own
  name as the original file name.
Prints what is wrong, one line each, and exits with 1 when anything is.
"""
import re
import sys

import pefile

WINDOWS_7 = (6, 1)
SUPPORTED_OS = {
    "35138b9a-5d96-4fbd-8e2d-a2440225f93a": "Windows 7",
    "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38": "Windows 8",
    "1f676c76-80e1-4239-95bb-83d0f6d0da78": "Windows 8.1",
    "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a": "Windows 10 and 11",
}


def read_list(path):
    versions = {}
    for line in open(path, encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            dll, function, version = line.split()
            versions[(dll.lower(), function)] = version
    return versions


def as_tuple(version):
    return tuple(int(part) for part in version.split("."))


def check_imports(pe, name, versions):
    problems = []
    for entry in pe.DIRECTORY_ENTRY_IMPORT:
        dll = entry.dll.decode()
        for imported in entry.imports:
            function = imported.name.decode() if imported.name else f"#{imported.ordinal}"
            version = versions.get((dll.lower(), function))
            if version is None:
                problems.append(f"{name} imports {dll} {function}, which the list does not name: "
                                "find the Windows that brought it and add it")
            elif as_tuple(version) > WINDOWS_7:
                problems.append(f"{name} imports {dll} {function}, which Windows {version} brought: "
                                "it would not start on Windows 7; look it up at run time")
    return problems


def resource_data(pe, resource_type):
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if kind.id != resource_type:
            continue
        for entry in kind.directory.entries:
            for language in entry.directory.entries:
                data = language.data.struct
                return pe.get_data(data.OffsetToData, data.Size)
    return None


def check_manifest(pe, name):
    manifest = resource_data(pe, pefile.RESOURCE_TYPE["RT_MANIFEST"])
    if manifest is None:
        return [f"{name} has no manifest"]
    text = manifest.decode("utf-8")
    problems = [f"{name}'s manifest does not name {system} as supported"
                for guid, system in SUPPORTED_OS.items() if guid not in text.lower()]
    if not re.search(r"<longPathAware[^>]*>\s*true\s*</longPathAware>", text):
        problems.append(f"{name}'s manifest does not declare it long-path aware")
    return problems


def check_version(pe, name, version):
    strings = {}
    for info in getattr(pe, "FileInfo", []):
        for block in info:
            for table in getattr(block, "StringTable", []):
                strings.update({k.decode(): v.decode() for k, v in table.entries.items()})
    problems = [f"{name}'s version resource gives {key} {strings.get(key)!r}, not {version!r}"
                for key in ("FileVersion", "ProductVersion") if strings.get(key) != version]
    if strings.get("OriginalFilename") != name:
        problems.append(f"{name}'s version resource names it {strings.get('OriginalFilename')!r}")
    return problems


def main():
    versions = read_list(sys.argv[1])
    problems = []
    for path in sys.argv[3:]:
        name = path.replace("\\", "/").rsplit("/", 1)[-1]
        pe = pefile.PE(path)
        problems += check_imports(pe, name, versions)
        problems += check_manifest(pe, name)
        problems += check_version(pe, name, sys.argv[2])
        print(f"{name}: {sum(len(e.imports) for e in pe.DIRECTORY_ENTRY_IMPORT)} functions "
              "imported, all in Windows 7 SP1" if not problems else f"{name}: read")
    for problem in problems:
        print(problem, file=sys.stderr)
    sys.exit(1 if problems else 0)


main()

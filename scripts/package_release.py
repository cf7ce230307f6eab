#!/usr/bin/env python3
"""Packs a built Postpone into the files of a release (scripts/release.sh runs it):

  Postpone-<version>-win32.zip   one folder Postpone/ (no version in it: an upgrade
                                 unpacks over the same folder, so a Startup shortcut
                                 keeps pointing at the new Postpone.exe) with Postpone.exe,
                                 postpone-check.exe, postpone.example.ini, README.txt
                                 and LICENSE.txt (the text files with CRLF line ends)
  Postpone.exe, postpone-check.exe
  SHA256SUMS                     sha256sum's format, for the zip and both executables
  scoop/postpone.json            a Scoop manifest
  winget/*.yaml                  the three winget manifest files

Everything is a function of its inputs: entries sorted, fixed times and modes,
no clock read, so two runs on the same build write the same bytes.
"""
import argparse
import hashlib
import json
import os
import re
import shutil
import time
import zipfile

EXECUTABLES = ("Postpone.exe", "postpone-check.exe")
PACKAGE_ID = "Postpone.Postpone"
PUBLISHER = "The Postpone project"
HOME_PAGE = "https://postpone.example.org"
SHORT_DESCRIPTION = "Starts programs some time after logon, each after its own delay, with no resident process."
WINGET_MANIFEST_VERSION = "1.6.0"
# Where the user's part of README.md starts and ends.
USER_GUIDE = ("<!-- user guide -->", "<!-- /user guide -->")


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def inline_text(line):
    """Markdown's inline marks made plain: `code`, **bold**, *emphasis*, [text](url)."""
    line = re.sub(r"\[([^\]]+)\]\(([^)]+)\)", r"\1 (\2)", line)
    line = re.sub(r"\*\*([^*]+)\*\*", r"\1", line)
    line = re.sub(r"(?<![\w*])\*([^*\s][^*]*)\*(?![\w*])", r"\1", line)
    return line.replace("`", "")


def markdown_to_text(markdown):
    """The user's guide as plain text: headings underlined, code indented."""
    out, in_code = [], False
    for line in markdown.splitlines():
        if line.lstrip().startswith("```"):
            in_code = not in_code
            continue
        if in_code:
            out.append("    " + line if line else "")
            continue
        heading = re.match(r"^(#+)\s+(.*)$", line)
        if heading:
            title = inline_text(heading.group(2))
            if out and out[-1] != "":
                out.append("")
            out += [title, ("=" if len(heading.group(1)) <= 2 else "-") * len(title)]
            continue
        out.append(inline_text(line))
    while out and out[-1] == "":
        out.pop()
    return "\n".join(out) + "\n"


def user_guide(readme):
    begin, end = USER_GUIDE
    if begin not in readme or end not in readme:
        raise SystemExit("README.md has no %s ... %s part" % USER_GUIDE)
    return "Postpone\n========\n\n" + markdown_to_text(readme.split(begin, 1)[1].split(end, 1)[0].strip("\n"))


def write_zip(path, folder, files, epoch):
    """A zip with one top folder, entries sorted, times and modes fixed."""
    stamp = time.gmtime(max(epoch, 315532800))[:6]  # the zip format starts in 1980

    def entry(name, is_folder):
        info = zipfile.ZipInfo(name, date_time=stamp)
        info.create_system = 0  # MS-DOS attributes: what a Windows user's unzip reads
        info.external_attr = 0x10 if is_folder else 0x20
        info.compress_type = zipfile.ZIP_STORED if is_folder else zipfile.ZIP_DEFLATED
        return info

    with zipfile.ZipFile(path, "w") as archive:
        archive.writestr(entry(folder + "/", True), b"")
        for name in sorted(files):
            archive.writestr(entry(folder + "/" + name, False), files[name], compresslevel=9)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def scoop_manifest(version, url, digest, folder, base_url):
    # The user's list lives in the persisted postpone.ini; an update never
    # replaces it. A first install gets a file that points to the example.
    # (In PowerShell's single quotes: no apostrophe in it.)
    first_settings = ("; The settings of Postpone: one [Launch] section with numbered entries. "
                      "See postpone.example.ini beside Postpone.exe, and check them with postpone-check.")
    return {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": HOME_PAGE,
        "license": "MIT",
        "url": url,
        "hash": digest,
        "extract_dir": folder,
        "bin": "postpone-check.exe",
        "pre_install": [
            "if (!(Test-Path \"$persist_dir\\postpone.ini\")) {",
            "    Set-Content -Path \"$dir\\postpone.ini\" -Encoding Ascii -Value @('%s', '[Launch]')" % first_settings,
            "}",
        ],
        "persist": "postpone.ini",
        # A bucket updates itself: SHA256SUMS beside the newest zip names it,
        # version included, and holds its hash in sha256sum's format.
        "checkver": {
            "url": base_url + "/SHA256SUMS",
            "regex": r"Postpone-([\d.]+)-win32\.zip",
        },
        "autoupdate": {
            "url": base_url + "/Postpone-$version-win32.zip",
            "hash": {"url": "$baseurl/SHA256SUMS"},
        },
        "notes": [
            "List your programs in postpone.ini beside Postpone.exe (Scoop keeps it across updates).",
            "For logon, put a shortcut to ~\\scoop\\apps\\postpone\\current\\Postpone.exe in your Startup folder "
            "(shell:startup).",
        ],
    }


def yaml_document(fields, schema):
    """A winget manifest: flat keys, with lists of mappings where needed."""
    lines = ["# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s.schema.json" %
             (schema, WINGET_MANIFEST_VERSION), ""]

    def scalar(value):
        text = str(value)
        return "'" + text.replace("'", "''") + "'" if re.search(r"[:#'\"{}\[\],&*!|>%@`]|^\s|\s$", text) else text

    def emit(key, value, indent):
        pad = " " * indent
        if isinstance(value, list):
            lines.append("%s%s:" % (pad, key))
            for item in value:
                first = True
                for k, v in item.items():
                    if isinstance(v, list):
                        lines.append("%s%s%s:" % (pad, "- " if first else "  ", k))
                        for sub in v:
                            inner = list(sub.items())
                            lines.append("%s    - %s: %s" % (pad, inner[0][0], scalar(inner[0][1])))
                            for k2, v2 in inner[1:]:
                                lines.append("%s      %s: %s" % (pad, k2, scalar(v2)))
                    else:
                        lines.append("%s%s%s: %s" % (pad, "- " if first else "  ", k, scalar(v)))
                    first = False
        else:
            lines.append("%s%s: %s" % (pad, key, scalar(value)))

    for key, value in fields.items():
        emit(key, value, 0)
    return "\n".join(lines) + "\n"


def winget_manifests(version, url, digest, folder):
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    version_manifest = dict(common, DefaultLocale="en-US", ManifestType="version",
                            ManifestVersion=WINGET_MANIFEST_VERSION)
    installer_manifest = dict(common, InstallerType="zip", NestedInstallerType="portable", Installers=[{
        "Architecture": "x86",
        "InstallerUrl": url,
        "InstallerSha256": digest.upper(),
        "NestedInstallerFiles": [{"RelativeFilePath": folder + "\\postpone-check.exe",
                                  "PortableCommandAlias": "postpone-check"}],
    }], ManifestType="installer", ManifestVersion=WINGET_MANIFEST_VERSION)
    locale_manifest = dict(common, PackageLocale="en-US", Publisher=PUBLISHER, PublisherUrl=HOME_PAGE,
                           PackageName="Postpone", PackageUrl=HOME_PAGE, License="MIT",
                           ShortDescription=SHORT_DESCRIPTION, Moniker="postpone",
                           ManifestType="defaultLocale", ManifestVersion=WINGET_MANIFEST_VERSION)
    return {
        PACKAGE_ID + ".yaml": yaml_document(version_manifest, "version"),
        PACKAGE_ID + ".installer.yaml": yaml_document(installer_manifest, "installer"),
        PACKAGE_ID + ".locale.en-US.yaml": yaml_document(locale_manifest, "defaultLocale"),
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--source", required=True, help="the source tree")
    parser.add_argument("--build", required=True, help="the win32 build folder")
    parser.add_argument("--base-url", required=True, help="where the zip will be downloaded from")
    parser.add_argument("--out", required=True, help="the folder to write (dist/)")
    options = parser.parse_args()

    with open(os.path.join(options.build, "version.txt")) as f:
        version = f.read().strip()
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "0"))
    folder = "Postpone"
    zip_name = "Postpone-%s-win32.zip" % version
    base_url = options.base_url.rstrip("/")
    url = base_url + "/" + zip_name

    files = {}
    for name in EXECUTABLES:
        with open(os.path.join(options.build, name), "rb") as f:
            files[name] = f.read()
    with open(os.path.join(options.source, "examples", "postpone.ini"), encoding="utf-8") as f:
        files["postpone.example.ini"] = crlf(f.read())
    with open(os.path.join(options.source, "README.md"), encoding="utf-8") as f:
        files["README.txt"] = crlf(user_guide(f.read()))
    with open(os.path.join(options.source, "LICENSE"), encoding="utf-8") as f:
        files["LICENSE.txt"] = crlf(f.read())

    os.makedirs(options.out, exist_ok=True)
    write_zip(os.path.join(options.out, zip_name), folder, files, epoch)
    for name in EXECUTABLES:
        shutil.copyfile(os.path.join(options.build, name), os.path.join(options.out, name))
    sums = "".join("%s  %s\n" % (sha256(os.path.join(options.out, name)), name)
                   for name in sorted((zip_name,) + EXECUTABLES))
    with open(os.path.join(options.out, "SHA256SUMS"), "w", newline="\n") as f:
        f.write(sums)

    digest = sha256(os.path.join(options.out, zip_name))
    os.makedirs(os.path.join(options.out, "scoop"), exist_ok=True)
    with open(os.path.join(options.out, "scoop", "postpone.json"), "w", newline="\n") as f:
        f.write(json.dumps(scoop_manifest(version, url, digest, folder, base_url), indent=4) + "\n")
    os.makedirs(os.path.join(options.out, "winget"), exist_ok=True)
    for name, text in winget_manifests(version, url, digest, folder).items():
        with open(os.path.join(options.out, "winget", name), "w", newline="\n") as f:
            f.write(text)


if __name__ == "__main__":
    main()

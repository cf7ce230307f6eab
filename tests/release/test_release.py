"""The release: built twice from the committed tree in two folders, the same
bytes; the zip's layout and line ends; the checksums; the manifests; and a
run of both programs from the zip alone in a fresh Wine prefix."""
import hashlib
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import zipfile

import yaml

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import allowed, skip_unless_wine_runs  # noqa: E402
from wow64 import DLL_OVERRIDES  # noqa: E402
from pe_reader import RT_VERSION, PeFile, version_string  # noqa: E402

BASE_URL = "https://downloads.example.org/postpone/release"
FILES = ["LICENSE.txt", "Postpone.exe", "README.txt", "postpone-check.exe", "postpone.example.ini"]


def tree(folder):
    """{relative path: bytes} of every file below `folder`."""
    files = {}
    for top, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(top, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def sha256(data):
    return hashlib.sha256(data).hexdigest()


class ReleaseTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="postpone-release-")
        builds = []
        for name in ("first", "second folder"):
            clone = os.path.join(cls.work, name)
            subprocess.run(["git", "clone", "--quiet", ROOT, clone], check=True)
            log = open(os.path.join(cls.work, name + ".log"), "w")
            builds.append((clone, log, subprocess.Popen(["bash", "scripts/release.sh", "--base-url", BASE_URL],
                                                       cwd=clone, stdout=log, stderr=subprocess.STDOUT)))
        for clone, log, build in builds:
            code = build.wait(timeout=900)
            log.close()
            with open(log.name) as f:
                assert code == 0, "release.sh failed in %s:\n%s" % (clone, f.read()[-3000:])
        cls.dist = os.path.join(builds[0][0], "dist")
        cls.other_dist = os.path.join(builds[1][0], "dist")
        cls.files = tree(cls.dist)
        [cls.zip_name] = [name for name in cls.files if name.endswith("-win32.zip")]
        cls.version = re.match(r"Postpone-(.+)-win32\.zip$", cls.zip_name).group(1)
        cls.zip_bytes = cls.files[cls.zip_name]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_two_builds_in_two_folders_are_the_same_to_the_byte(self):
        other = tree(self.other_dist)
        self.assertEqual(sorted(self.files), sorted(other))
        for name in self.files:
            self.assertEqual(sha256(self.files[name]), sha256(other[name]), name)

    def test_the_zip_holds_one_folder_with_the_five_files(self):
        with zipfile.ZipFile(os.path.join(self.dist, self.zip_name)) as archive:
            names = archive.namelist()
            folder = "Postpone/"  # no version: an upgrade unpacks over the same folder
            self.assertEqual(names, [folder] + [folder + name for name in FILES])  # sorted, one top folder
            self.assertNotIn(folder + "postpone.ini", names)  # nothing that could run by accident
            stamps = {info.date_time for info in archive.infolist()}
            self.assertEqual(len(stamps), 1)
            for name in ("README.txt", "LICENSE.txt", "postpone.example.ini"):
                text = archive.read(folder + name)
                self.assertEqual(text.count(b"\n"), text.count(b"\r\n"), name)
                self.assertGreater(text.count(b"\r\n"), 5, name)
            readme = archive.read(folder + "README.txt").decode("utf-8")
            self.assertIn("Installing", readme)
            self.assertIn("Checking your settings file", readme)
            self.assertNotIn("cmake --workflow", readme)  # the user's part only
            self.assertNotIn("```", readme)
            self.assertNotIn("examples/", readme)  # it names the files as the zip holds them
            self.assertIn("postpone.example.ini", readme)
            self.assertIn("The Postpone authors", archive.read(folder + "LICENSE.txt").decode())
            for name in ("Postpone.exe", "postpone-check.exe"):
                self.assertEqual(archive.read(folder + name), self.files[name], name)

    def test_the_checksums_hold_and_the_version_is_the_executables(self):
        sums = self.files["SHA256SUMS"].decode()
        self.assertEqual(sorted(line.split("  ")[1] for line in sums.splitlines()),
                         sorted([self.zip_name, "Postpone.exe", "postpone-check.exe"]))
        subprocess.run(["sha256sum", "-c", "--quiet", "SHA256SUMS"], cwd=self.dist, check=True)
        for name in ("Postpone.exe", "postpone-check.exe"):
            pe = PeFile(os.path.join(self.dist, name))
            [record] = [data[0] for (kind, _), data in pe.resources().items() if kind == RT_VERSION]
            self.assertEqual(version_string(record, "FileVersion"), self.version)
            # The link time stamp is the commit's time, not the build's.
            stamp = struct.unpack_from("<I", pe.data, struct.unpack_from("<I", pe.data, 0x3C)[0] + 8)[0]
            commit_time = int(subprocess.run(["git", "log", "-1", "--format=%ct"], cwd=ROOT, capture_output=True,
                                             text=True, check=True).stdout)
            self.assertEqual(stamp, commit_time, name)
            self.assertNotIn(b"postpone-release-", pe.data)  # no build folder inside
        descriptions = [version_string([data[0] for (kind, _), data in PeFile(os.path.join(self.dist, name))
                                        .resources().items() if kind == RT_VERSION][0], "FileDescription")
                        for name in ("Postpone.exe", "postpone-check.exe")]
        self.assertNotEqual(descriptions[0], descriptions[1])

    def test_the_scoop_manifest_carries_the_zips_version_url_and_hash(self):
        manifest = json.loads(self.files[os.path.join("scoop", "postpone.json")])
        for field in ("version", "description", "homepage", "license", "url", "hash", "bin", "persist"):
            self.assertIn(field, manifest)
        self.assertEqual(manifest["version"], self.version)
        self.assertEqual(manifest["url"], BASE_URL + "/" + self.zip_name)
        self.assertEqual(manifest["hash"], sha256(self.zip_bytes))
        self.assertEqual(manifest["extract_dir"], "Postpone")
        # A bucket finds the next version in SHA256SUMS and the zip's address from it.
        found = re.search(manifest["checkver"]["regex"], self.files["SHA256SUMS"].decode())
        self.assertEqual(found.group(1), self.version)
        self.assertEqual(manifest["checkver"]["url"], BASE_URL + "/SHA256SUMS")
        self.assertEqual(manifest["autoupdate"]["url"].replace("$version", self.version), manifest["url"])
        self.assertEqual(manifest["autoupdate"]["hash"]["url"], "$baseurl/SHA256SUMS")
        self.assertEqual(manifest["bin"], "postpone-check.exe")
        self.assertEqual(manifest["persist"], "postpone.ini")
        pre_install = "\n".join(manifest["pre_install"])
        self.assertIn("Test-Path \"$persist_dir\\postpone.ini\"", pre_install)  # never over a list the user has
        self.assertIn("[Launch]", pre_install)
        self.assertIn("postpone.example.ini", pre_install)

    def test_the_winget_manifests_carry_the_required_fields(self):
        def load(suffix):
            return yaml.safe_load(self.files[os.path.join("winget", "Postpone.Postpone" + suffix)])

        version, installer, locale = load(".yaml"), load(".installer.yaml"), load(".locale.en-US.yaml")
        for manifest, kind in ((version, "version"), (installer, "installer"), (locale, "defaultLocale")):
            self.assertEqual(manifest["PackageIdentifier"], "Postpone.Postpone")
            self.assertEqual(str(manifest["PackageVersion"]), self.version)
            self.assertEqual(manifest["ManifestType"], kind)
            self.assertEqual(str(manifest["ManifestVersion"]), "1.6.0")
        self.assertEqual(version["DefaultLocale"], "en-US")
        for field in ("PackageLocale", "Publisher", "PackageName", "License", "ShortDescription"):
            self.assertTrue(locale[field], field)
        self.assertEqual(installer["InstallerType"], "zip")
        self.assertEqual(installer["NestedInstallerType"], "portable")
        [entry] = installer["Installers"]
        self.assertEqual(entry["Architecture"], "x86")
        self.assertEqual(entry["InstallerUrl"], BASE_URL + "/" + self.zip_name)
        self.assertEqual(entry["InstallerSha256"], sha256(self.zip_bytes).upper())
        self.assertEqual(entry["NestedInstallerFiles"],
                         [{"RelativeFilePath": "Postpone\\postpone-check.exe",
                           "PortableCommandAlias": "postpone-check"}])

    def test_both_programs_work_from_the_zip_alone_in_a_fresh_prefix(self):
        skip_unless_wine_runs()
        prefix = os.path.join(self.work, "prefix")
        env = dict(os.environ, WINEPREFIX=prefix, WINEARCH="win64", WINEDEBUG="-all", LANG="C.UTF-8",
                   WINEDLLOVERRIDES=DLL_OVERRIDES)
        env.pop("DISPLAY", None)
        subprocess.run(["wineboot", "-i"], env=env, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=allowed(180))
        # Until the prefix's own start-up has ended, it may end the copies
        # that Postpone leaves waiting.
        subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=allowed(180))
        programs = os.path.join(prefix, "drive_c", "Program Files")
        with zipfile.ZipFile(os.path.join(self.dist, self.zip_name)) as archive:
            archive.extractall(programs)
        folder = os.path.join(programs, "Postpone")
        shutil.copyfile(os.path.join(folder, "postpone.example.ini"), os.path.join(folder, "postpone.ini"))
        try:
            check = subprocess.run(["wine", os.path.join(folder, "postpone-check.exe")], env=env, cwd=folder,
                                   capture_output=True, timeout=allowed(120))
            report = check.stdout.decode("cp1252")
            self.assertEqual(check.returncode, 1, report)  # the example skips entry 3 on purpose
            self.assertIn("executable: C:\\Program Files\\Postpone\\Postpone.exe", report)
            self.assertIn("summary: 3 entries start, 0 fail, 1 skipped, 3 warnings", report)

            started = time.monotonic()
            with tempfile.TemporaryFile() as out:
                run = subprocess.run(["wine", os.path.join(folder, "Postpone.exe")], env=env, cwd=folder, stdout=out,
                                     stderr=out, timeout=allowed(120))
            self.assertEqual(run.returncode, 3)  # three entries, each handed to a copy
            log = os.path.join(folder, "demo.log")
            while time.monotonic() - started < 30:
                if os.path.exists(log):
                    with open(log, "rb") as f:
                        if f.read().count(b"\n") >= 3:
                            break
                time.sleep(0.2)
            with open(log, "rb") as f:
                lines = f.read().decode("cp1252").splitlines()
            self.assertEqual(sorted(line.split(" entry ", 1)[1] for line in lines),
                             ["1 started (DelaySec1=2)", "2 started (DelaySec2=5)", "4 started (DelaySec4=8)"])
        finally:
            subprocess.run(["wineserver", "-k"], env=env, check=False)


if __name__ == "__main__":
    unittest.main()

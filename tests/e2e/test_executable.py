"""Postpone.exe from the outside: a standalone 32-bit GUI executable with its
icon, version record and manifest."""
import struct
import unittest

import os

from harness import BUILD, POSTPONE_EXE
from pe_reader import (RT_GROUP_ICON, RT_ICON, RT_MANIFEST, RT_VERSION, PeFile, fixed_file_info, icon_group,
                       version_string)

IMAGE_FILE_MACHINE_I386 = 0x14C
PE32_MAGIC = 0x10B
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_SUBSYSTEM_WINDOWS_CUI = 3
CHECKER_EXE = os.path.join(BUILD, "postpone-check.exe")


class ExecutableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pe = PeFile(POSTPONE_EXE)
        cls.resources = cls.pe.resources()

    def test_is_a_32_bit_gui_executable(self):
        self.assertEqual(self.pe.machine, IMAGE_FILE_MACHINE_I386)
        self.assertEqual(self.pe.magic, PE32_MAGIC)
        self.assertEqual(self.pe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI)

    def test_imports_only_dlls_that_ship_with_windows(self):
        # No compiler runtime beside the exe, and no user-interface library
        # at load time: that one is loaded only for the help box.
        self.assertEqual(sorted(dll.lower() for dll in self.pe.imported_dlls()), ["kernel32.dll", "msvcrt.dll"])

    def test_carries_version_1_0_0_0(self):
        [record] = [data[0] for (kind, _), data in self.resources.items() if kind == RT_VERSION]
        self.assertEqual(fixed_file_info(record), ((1, 0, 0, 0), (1, 0, 0, 0)))
        self.assertEqual(version_string(record, "FileVersion"), "1.0.0.0")
        self.assertEqual(version_string(record, "ProductVersion"), "1.0.0.0")
        self.assertEqual(version_string(record, "ProductName"), "Postpone")
        self.assertEqual(version_string(record, "OriginalFilename"), "Postpone.exe")

    def test_has_an_icon_of_two_16_colour_images(self):
        groups = [data[0] for (kind, _), data in self.resources.items() if kind == RT_GROUP_ICON]
        self.assertEqual(len(groups), 1)
        self.assertEqual(sorted(icon_group(groups[0])), [(16, 16, 16, 4), (32, 32, 16, 4)])
        images = [data[0] for (kind, _), data in self.resources.items() if kind == RT_ICON]
        self.assertEqual(len(images), 2)
        for image in images:
            header_size, width, height, planes, bits = struct.unpack_from("<IiiHH", image, 0)
            self.assertEqual((header_size, planes, bits), (40, 1, 4))
            self.assertEqual(height, 2 * width)  # colour and mask

    def test_has_a_manifest_that_runs_as_invoker_with_common_controls_6(self):
        [manifest] = [data[0] for (kind, name), data in self.resources.items() if kind == RT_MANIFEST and name == 1]
        text = manifest.decode("utf-8")
        self.assertIn('level="asInvoker"', text)
        self.assertIn('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"', text)
        self.assertIn("supportedOS", text)


class CheckerExecutableTest(unittest.TestCase):
    """postpone-check.exe: a standalone 32-bit console program with Postpone's
    icon and version and a description of its own."""

    def test_is_a_standalone_32_bit_console_program(self):
        pe = PeFile(CHECKER_EXE)
        self.assertEqual((pe.machine, pe.magic, pe.subsystem),
                         (IMAGE_FILE_MACHINE_I386, PE32_MAGIC, IMAGE_SUBSYSTEM_WINDOWS_CUI))
        # The shell, COM and the registry, for what starts Postpone at logon: all ship with Windows.
        self.assertEqual(sorted(dll.lower() for dll in pe.imported_dlls()),
                         ["advapi32.dll", "kernel32.dll", "msvcrt.dll", "ole32.dll", "shell32.dll"])
        [manifest] = [data[0] for (kind, name), data in pe.resources().items() if kind == RT_MANIFEST and name == 1]
        self.assertIn(b'name="Postpone.Check"', manifest)
        self.assertIn(b"<description>postpone-check:", manifest)

    def test_carries_the_same_icon_and_version_with_its_own_description(self):
        resources = PeFile(CHECKER_EXE).resources()
        [record] = [data[0] for (kind, _), data in resources.items() if kind == RT_VERSION]
        self.assertEqual(fixed_file_info(record), ((1, 0, 0, 0), (1, 0, 0, 0)))
        self.assertEqual(version_string(record, "OriginalFilename"), "postpone-check.exe")
        self.assertIn("postpone-check", version_string(record, "FileDescription"))
        icons = [data[0] for (kind, _), data in resources.items() if kind == RT_GROUP_ICON]
        postpone_icons = [data[0] for (kind, _), data in PeFile(POSTPONE_EXE).resources().items()
                          if kind == RT_GROUP_ICON]
        self.assertEqual(icons, postpone_icons)


if __name__ == "__main__":
    unittest.main()

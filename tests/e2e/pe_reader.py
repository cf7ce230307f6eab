"""Just enough of the PE format to check Postpone.exe from the outside: the
headers, the imported DLLs and the resources."""
import struct

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


class PeFile:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = f.read()
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        assert self.data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        self.machine, sections, _, _, _, optional_size, self.characteristics = struct.unpack_from(
            "<HHIIIHH", self.data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", self.data, optional)[0]
        self.subsystem = struct.unpack_from("<H", self.data, optional + 68)[0]
        directories = optional + 96
        self.directories = [struct.unpack_from("<II", self.data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, vaddr, rsize, raddr = struct.unpack_from("<8sIIII", self.data, table + 40 * i)
            self.sections.append((vaddr, max(vsize, rsize), raddr))

    def offset(self, rva):
        for vaddr, size, raddr in self.sections:
            if vaddr <= rva < vaddr + size:
                return rva - vaddr + raddr
        raise ValueError("RVA %#x lies in no section" % rva)

    def cstring(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imported_dlls(self):
        rva, _ = self.directories[1]
        names = []
        at = self.offset(rva)
        while True:
            entry = struct.unpack_from("<IIIII", self.data, at)
            if entry == (0, 0, 0, 0, 0):
                return names
            names.append(self.cstring(entry[3]))
            at += 20

    def resources(self):
        """{(type, name): [bytes of each language's data]}"""
        root_rva, _ = self.directories[2]
        root = self.offset(root_rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from("<II", self.data, directory + 16 + 8 * i)
                yield ident, target

        found = {}
        for type_id, type_target in entries(root):
            for name_id, name_target in entries(root + (type_target & 0x7FFFFFFF)):
                for _, data_target in entries(root + (name_target & 0x7FFFFFFF)):
                    data_rva, size = struct.unpack_from("<II", self.data, root + data_target)
                    start = self.offset(data_rva)
                    found.setdefault((type_id, name_id), []).append(self.data[start:start + size])
        return found


def fixed_file_info(version_resource):
    """(file version, product version) of a version record, as 4-tuples."""
    at = version_resource.index(struct.pack("<I", 0xFEEF04BD))
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIIIII", version_resource, at)
    split = lambda ms, ls: (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return split(file_ms, file_ls), split(product_ms, product_ls)


def version_string(version_resource, key):
    """The value of one string of a version record (UTF-16)."""
    marker = key.encode("utf-16-le") + b"\0\0"
    at = version_resource.index(marker) + len(marker)
    at += (-at) % 4  # values are aligned on 32 bits
    end = at
    while version_resource[end:end + 2] != b"\0\0":
        end += 2
    return version_resource[at:end].decode("utf-16-le")


def icon_group(group_resource):
    """[(width, height, colours, bits per pixel)] of an icon group."""
    _, _, count = struct.unpack_from("<HHH", group_resource, 0)
    images = []
    for i in range(count):
        width, height, colours, _, _, bits, _, _ = struct.unpack_from("<BBBBHHIH", group_resource, 6 + 14 * i)
        images.append((width or 256, height or 256, colours, bits))
    return images

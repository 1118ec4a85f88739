# Reads a compound file with olefile (an independent OLE2 reader) and prints
# its class identifier, every stream in hex and the summary information as
# JSON.
import json
import sys

import olefile

ole = olefile.OleFileIO(sys.argv[1])
streams = {}
for entry in ole.listdir(streams=True, storages=False):
    name = "/".join(entry)
    streams[name.replace("\x05", "\\005")] = ole.openstream(entry).read().hex()
meta = ole.get_metadata()


def text(value):
    return value.decode("latin-1") if isinstance(value, bytes) else value


print(json.dumps({
    "clsid": ole.root.clsid,
    "streams": streams,
    "title": text(meta.title),
    "subject": text(meta.subject),
    "author": text(meta.author),
}))

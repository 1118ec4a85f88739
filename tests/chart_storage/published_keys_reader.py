# A reader of the chart's object text written from the published reading
# rules alone: keys are searched from the read position up to the next zero
# byte, a fixed-size value is followed by the next line feed (which becomes
# a zero byte), and a key that is not found leaves the position where it
# was. It knows only the published keys of each kind; everything else is
# passed over on the way to the object's end marker. Prints JSON.
import json
import struct
import sys

HEADER = [("Lumigra:", "t"), ("Version=", "h"), ("LowerBound=", "i"), ("MaxElements=", "i"),
          ("OrgX=", "d"), ("OrgY=", "d"), ("Scale=", "d"), ("ScaleHeight=", "d"), ("Height=", "d"),
          ("Width=", "d"), ("ExactScale=", "b"), ("PropertySheetEnabled=", "b"), ("Mono=", "b"),
          ("BackColor=", "i"), ("BackGround=", "h"), ("Redraw=", "b"), ("CX=", "i"), ("CY=", "i"),
          ("ToolHint=", "b"), ("MaxLoop=", "i"), ("DropMode=", "h"), ("DragMode=", "h"),
          ("MouseAction=", "h"), ("KeyboardAction=", "h")]


def numbered(prefix, kind, first=1, last=5):
    return [("%s%d=" % (prefix, n), kind) for n in range(first, last + 1)]


KINDS = {
    "Pen": [("Style=", "h"), ("Width=", "d"), ("Color=", "i"), ("Enabled=", "b")],
    "Brush": [("Enabled=", "b"), ("Style=", "h"), ("HatchStyle=", "h"), ("ForeColor=", "i"),
              ("BackColor=", "i"), ("Pattern=", "t")],
    "Font": [("TypeFace=", "t"), ("Bold=", "b"), ("Italic=", "b"), ("StrikeThrough=", "b"),
             ("TextColor=", "i"), ("Underline=", "b"), ("Size=", "d"), ("lfEscapement=", "i"),
             ("lfOrientation=", "i"), ("Quality=", "i"), ("Family=", "i"), ("Enabled=", "b"),
             ("UseBkColor=", "b"), ("BkColor=", "i"), ("Width=", "d")],
    "Label": [("Visible=", "b"), ("Angle=", "i"), ("OrgX=", "d"), ("OrgY=", "d"), ("Align=", "h")]
    + numbered("String", "t") + numbered("Align", "h") + numbered("Font", "i")
    + numbered("LeadingSpace", "h") + numbered("TrailingSpace", "h") + numbered("VShift", "d"),
    "Line": [("Visible=", "b"), ("LastLength=", "d")] + numbered("Pen", "i", 1, 4)
    + [(k % n, "d") for n in range(1, 5) for k in ("Length%d=", "Space%d=")]
    + [("FromX=", "d"), ("FromY=", "d"), ("ToX=", "d"), ("ToY=", "d")],
    "Symbol": [("Style=", "h"), ("CenterX=", "d"), ("CenterY=", "d"), ("Width=", "d"), ("Height=", "d"),
               ("Visible=", "b"), ("Angle=", "i"), ("CustomString=", "t"), ("Pen=", "i"), ("Brush=", "i"),
               ("Picture=", "i")],
    "SymbolLine": [("Visible=", "b"), ("Line=", "i"), ("StartSymbol=", "i"), ("EndSymbol=", "i"),
                   ("DrawOrder=", "h")],
    "Rect": [("Visible=", "b"), ("Width=", "d"), ("Height=", "d"), ("OrgX=", "d"), ("OrgY=", "d"),
             ("ShadowShiftX=", "d"), ("ShadowShiftY=", "d"), ("PaintTool=", "h"), ("Pen=", "i"),
             ("Brush=", "i"), ("Shadow=", "i"), ("Picture=", "i")],
    "XyAxis": [("Visible=", "b"), ("Style=", "h"), ("Type=", "h"), ("Origin=", "dd"), ("Length=", "d"),
               ("Minimum=", "v"), ("Maximum=", "v"), ("Reverse=", "b"), ("Orientation=", "h"),
               ("TickTimeUnit=", "h"), ("Pen=", "i"), ("CustomTick", "h")],
    "XyChart": [("BarBasePoint=", "d"), ("SymbolLocation=", "h"), ("PlotArea=", "i"), ("XAxis=", "i"),
                ("YAxis=", "i"), ("BarSelection=", "h")],
    "LegendItem": [("Visible=", "b"), ("Label=", "i"), ("ChartType=", "h"), ("Chart=", "i"),
                   ("SymbolIndex=", "i"), ("LineIndex=", "i"), ("SymbolWidth=", "d"), ("SymbolHeight=", "d"),
                   ("LineLength=", "d")],
}

CHART_SHARED = [("Visible=", "b"), ("Type=", "h"), ("Clip=", "b"), ("LineFirst=", "b"),
                ("DrawSimpleChart=", "b"), ("Divisor=", "d"), ("Metricater=", "d"),
                ("MarkerSymbolInterval=", "i"), ("SingularValue=", "d"), ("SingularCriterion=", "h"),
                ("SingularIndex=", "i"), ("DataLabelInterval=", "i"), ("DataLabelAngle=", "i"),
                ("DataLabelOffsetX=", "d"), ("DataLabelOffsetY=", "d"), ("DataLabelAlignX=", "h"),
                ("DataLabelAlignY=", "h"), ("BubbleScale=", "h"), ("Data=", "i"), ("DataLabelFont=", "i"),
                ("SymbolLine=", "i")]
CHART_TAIL = [("DataLabelLocation", "h"), ("DataLabelOffsetIndex", "h"), ("BubbleStyleIndex", "h"),
              ("AuxLineIndex1", "h"), ("AuxLineIndex2", "h")]

# Collections in the order they are written, with the record class of their elements.
COLLECTIONS = [("PictureHolders", "Picture"), ("Pens", "Pen"), ("Brushes", "Brush"), ("Rectangles", "Rect"),
               ("Lines", "Line"), ("FontHolders", "Font"), ("Labels", "Label"), ("Symbols", "Symbol"),
               ("SymbolLines", "SymbolLine"), ("DataCollection", "Data"), ("XyAxes", "XyAxis"),
               ("TriangularAxes", "TriAxis"), ("PolarAxes", "PolarAxis"), ("XyCharts", "XyChart"),
               ("TriangularCharts", "TriChart"), ("PolarCharts", "PolarChart"), ("Legends", "Legend"),
               ("Polygons", "Polygon"), ("Polylines", "Polyline")]

SIZES = {"b": 4, "h": 2, "i": 4, "d": 8, "dd": 16, "v": 16}
FORMATS = {"b": "<i", "h": "<h", "i": "<i", "d": "<d", "dd": "<2d"}
ELEMENT_SIZES = {2: 2, 3: 4, 4: 8, 5: 8, 6: 8, 7: 8}  # by variant type; 8 is text


class Reader:
    def __init__(self, block):
        length = struct.unpack_from("<I", block)[0]
        self.c = bytearray(block[4:4 + length]) + b"\0"
        self.pos = 0

    def find(self, key):
        end = self.c.index(b"\0", self.pos)
        at = self.c.find(key.encode("latin-1"), self.pos, end)
        return at

    def line_feed(self, start):
        return self.c.find(b"\n", start, len(self.c) - 1)

    def close(self, lf):
        self.c[lf] = 0
        self.pos = lf + 1

    def fixed(self, key, size):
        at = self.find(key)
        if at < 0:
            return None
        start = at + len(key)
        if start + size > len(self.c) - 1:
            return None
        lf = self.line_feed(start + size)
        if lf < 0:
            return None
        value = bytes(self.c[start:start + size])
        self.close(lf)
        return value

    def text(self, key):
        at = self.find(key)
        if at < 0:
            return None
        start = at + len(key)
        lf = self.line_feed(start)
        if lf < 0:
            return None
        value = bytes(self.c[start:lf])
        self.close(lf)
        return value.decode("utf-8", "replace")

    def keyless(self, size):
        lf = self.line_feed(self.pos + size)
        if self.pos + size > len(self.c) - 1 or lf < 0:
            return None
        value = bytes(self.c[self.pos:self.pos + size])
        self.close(lf)
        return value

    def keyless_text(self):
        lf = self.line_feed(self.pos)
        if lf < 0:
            return None
        value = bytes(self.c[self.pos:lf])
        self.close(lf)
        return value.decode("utf-8", "replace")

    def marker(self, key):
        return self.fixed(key, 0) is not None

    def value(self, key, kind):
        if kind == "t":
            return self.text(key)
        raw = self.fixed(key, SIZES[kind])
        if raw is None:
            return None
        if kind == "v":
            return raw.hex()
        unpacked = struct.unpack(FORMATS[kind], raw)
        return list(unpacked) if len(unpacked) > 1 else unpacked[0]

    def fields(self, keys):
        return {key: self.value(key, kind) for key, kind in keys}

    def array(self):
        vt = self.value("VARIANT VT=", "i")
        if vt is None:
            return None
        lower = self.value("LBound=", "i")
        upper = self.value("UBound=", "i")
        values = []
        for _ in range(upper - lower + 1):
            if vt == 8:
                values.append(self.keyless_text())
            else:
                raw = self.keyless(ELEMENT_SIZES[vt])
                values.append(raw.hex() if raw is not None else None)
        return {"vt": vt, "lbound": lower, "values": values}

    def object(self, cls):
        chart = cls in ("XyChart", "TriChart", "PolarChart")
        # A chart's record starts with the part shared by every chart kind.
        out = {"class": cls, "begun": self.marker("Begin Object:" + ("Chart" if chart else cls))}
        out["name"] = self.text("Name=")
        if chart:
            out.update(self.chart(cls))
            return out
        if cls == "Data":
            out["fields"] = self.data()
        elif cls == "Legend":
            out["fields"] = self.fields([("Visible=", "b"), ("EvenHeight=", "b"), ("Align=", "h"),
                                         ("LabelPosition=", "h"), ("Area=", "i")])
            out["fields"]["LegendItems="] = self.marker("LegendItems=")
            out["items"] = self.collection("LegendItem")
        else:
            out["fields"] = self.fields(KINDS.get(cls, []))
        out["ended"] = self.marker("End Object:" + cls)
        return out

    def chart(self, cls):
        # The shared part is its own record before the kind's.
        fields = self.fields(CHART_SHARED)
        sizes = [self.value(key, "i") for key in ("MaxSymbols=", "MaxLines=", "MaxBrushes=")]
        fields["tables"] = [[self.value("[%d]=" % n, "i") for n in range(size or 0)] for size in sizes]
        fields.update(self.fields(CHART_TAIL))
        shared_ended = self.marker("End Object:Chart")
        own = {"begun": self.marker("Begin Object:" + cls), "name": self.text("Name=")}
        own["fields"] = self.fields(KINDS.get(cls, []))
        own["ended"] = self.marker("End Object:" + cls)
        return {"fields": fields, "ended": shared_ended, "own": own}

    def data(self):
        fields = {"DataFile=": self.text("DataFile="), "DataSize=": self.value("DataSize=", "i")}
        slots = []
        for n in range((fields["DataSize="] or 0) + 1):
            key = "Ref[%d]=" % n
            slots.append({"array": self.array(), "missing": self.value(key, "v"), "ref": self.text(key)})
        fields["slots"] = slots
        return fields

    def collection(self, cls):
        out = {"begun": self.text("Begin Collection") is not None, "name": self.text("Name=")}
        out.update(self.fields([("Elements=", "i"), ("Visible=", "b"), ("PaintOrder=", "i"), ("Max=", "i")]))
        elements = []
        for _ in range(out["Elements="] or 0):
            element = self.object(cls)
            element["RefCount="] = self.value("RefCount=", "i")
            element["Tag="] = self.value("Tag=", "i")
            elements.append(element)
        out["elements"] = elements
        out["Tag="] = self.value("Tag=", "i")
        out["ended"] = self.text("End Collection") is not None
        return out


def main():
    with open(sys.argv[1], "rb") as f:
        reader = Reader(f.read())
    header = reader.fields(HEADER)
    collections = {}
    for name, cls in COLLECTIONS:
        if name == "Polygons" and (header["Version="] or 100) < 120:
            break
        collections[name] = reader.collection(cls)
    print(json.dumps({"header": header, "collections": collections}))


main()

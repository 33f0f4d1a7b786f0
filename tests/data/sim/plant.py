#!/usr/bin/env python3
"""Makes the text form of the simulator's scenario application from an exported new application.

Usage: plant.py NEW.json OUT.json
The unit's own memory holds the tags; screen 1 counts while it is shown, screen 2 is reached with key 9
and left with key 9 again; key 10 holds the motor bit (keys of the VQ5K-822's keypad); a touch area on screen 2 toggles the lamp.
"""
import json
import sys


def tag(address, **kw):
    ref = {"node": 0, "address": address}
    ref.update(kw)
    return ref


def task(kind, sub=0, value=0, fmt=0, tag1=None, tag2=None, parameter=0):
    return {"kind": kind, "subKind": sub, "parameter": parameter, "value": value, "valueFormat": fmt,
            "tag1": tag1, "tag2": tag2}


doc = json.load(open(sys.argv[1]))
doc["unitSettings"]["touchScreen"] = 1
doc["nodes"][0]["blocks"] = [
    {"address": "UW000", "size": 10, "name": "Words", "prefix": "UW", "tags": [
        {"address": "UW000", "type": "register", "bytes": 2, "name": "Level", "readWrite": "readWrite"},
        {"address": "UW001", "type": "register", "bytes": 2, "name": "Count", "readWrite": "readWrite"},
        {"address": "UW002", "type": "register", "bytes": 4, "name": "Big", "readWrite": "readWrite"},
        {"address": "UW004", "type": "register", "bytes": 1, "byteSelect": 0, "name": "Low",
         "readWrite": "readWrite"},
        {"address": "UW004", "type": "register", "bytes": 1, "byteSelect": 1, "name": "High",
         "readWrite": "readWrite"},
        {"address": "UW005", "type": "register", "bytes": 2, "name": "Alarms", "readWrite": "readWrite"},
    ]},
    {"address": "UB000", "size": 8, "name": "Bits", "prefix": "UB", "tags": [
        {"address": "UB000", "type": "coil", "name": "Motor", "readWrite": "readWrite"},
        {"address": "UB001", "type": "coil", "name": "Lamp", "readWrite": "readWrite"},
    ]},
]
level, count = tag("UW000", bytes=2), tag("UW001", bytes=2)
motor, lamp = tag("UB000"), tag("UB001")
doc["powerOnTasks"] = [task("writeValue", value=5, tag1=level), task("gotoScreen", value=1)]
doc["globalKeys"] = [
    {"key": 9, "secondKey": 0, "tasks": {"press": [task("gotoScreen", value=2)], "pressed": [], "released": []}},
    {"key": 10, "secondKey": 0, "tasks": {"press": [], "pressed": [task("bit", sub=2, tag1=motor)],
                                         "released": []}},
]
doc["screens"] = [
    {"number": 1, "name": "Main",
     "objects": [
         {"kind": "text", "left": 0, "top": 0, "right": 47, "bottom": 7, "text": "Level"},
         {"kind": "displayRegister", "left": 48, "top": 0, "right": 77, "bottom": 7, "tag": level,
          "format": {"dataType": "U", "code": "50"}},
         {"kind": "bargraph", "left": 0, "top": 20, "right": 99, "bottom": 39, "tag": level, "direction": 0, "colourA": 0,
          "minimum": 0, "maximum": 100},
     ],
     "tasks": {"beforeShowing": [], "whileShowing": [
         task("add", value=1, tag1=count), task("delay", value=100, parameter=0)], "afterHiding": []}},
    {"number": 2, "name": "Setup",
     "objects": [
         {"kind": "displayCoil", "left": 0, "top": 0, "right": 23, "bottom": 7, "tag": lamp,
          "offText": "off", "onText": "ON"},
         {"kind": "touchArea", "left": 64, "top": 32, "right": 95, "bottom": 63,
          "tasks": {"press": [task("bit", sub=4, tag1=lamp)], "pressed": [], "released": []}},
     ],
     "tasks": {"beforeShowing": [task("writeValue", value=100, tag1=level)], "whileShowing": [],
               "afterHiding": [task("writeValue", value=0, tag1=count)]},
     "keys": [{"key": 9, "secondKey": 0, "tasks": {"press": [task("gotoScreen", sub=2)], "pressed": [],
                                                   "released": []}}]},
]
json.dump(doc, open(sys.argv[2], "w"), indent=1)

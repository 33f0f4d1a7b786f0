#!/usr/bin/env python3
"""Makes the text form of the Simulate window's test bench from an exported new application.

Usage: bench.py NEW.json OUT.json
The new application keeps its default global keys (numeric keys, Accept, Cancel ...). The unit's own word
UW000 is the tag Setpoint; screen 1 has a data entry for it (unsigned, three digits, limits 10 to 500) and a
screen key combination that goes to screen 2: keys 3 + 4 on a keypad that has them (the VQ5K-452), and on
the VQ5K-822 (keys 5 to 22) keys 7 + 8, the keys with the legends 3 and 4. A graphic model also gets a touch
area on screen 1 (the touch screen is switched on) that writes 123 to Setpoint.
"""
import json
import sys


def task(kind, sub=0, value=0, fmt=0, tag1=None, tag2=None, parameter=0):
    return {"kind": kind, "subKind": sub, "parameter": parameter, "value": value, "valueFormat": fmt,
            "tag1": tag1, "tag2": tag2}


doc = json.load(open(sys.argv[1]))
graphic = doc["model"] >= 480
doc["nodes"][0]["blocks"] = [
    {"address": "UW000", "size": 4, "name": "Words", "prefix": "UW", "tags": [
        {"address": "UW000", "type": "register", "bytes": 2, "name": "Setpoint", "readWrite": "readWrite"},
    ]},
]
setpoint = {"node": 0, "address": "UW000", "bytes": 2}
doc["powerOnTasks"] = [task("gotoScreen", value=1)]
first, second = (7, 8) if doc["model"] == 500 else (3, 4)
if graphic:
    # 5 x 7 characters of 6 x 8 pixels.
    entry = {"left": 48, "top": 0, "right": 65, "bottom": 7}
    label = {"left": 0, "top": 0, "right": 41, "bottom": 7}
    title = {"left": 0, "top": 0, "right": 47, "bottom": 7}
else:
    # Character cells of 12 x 16 unit pixels.
    entry = {"left": 48, "top": 0, "right": 83, "bottom": 15}
    label = {"left": 0, "top": 0, "right": 35, "bottom": 15}
    title = {"left": 0, "top": 0, "right": 95, "bottom": 15}
one = [
    dict({"kind": "text", "text": "Set"}, **label),
    dict({"kind": "dataEntryRegister", "tag": setpoint, "format": {"dataType": "U", "code": "30"},
          "lowLimit": 10, "highLimit": 500}, **entry),
]
if graphic:
    doc["unitSettings"]["touchScreen"] = 1
    one.append({"kind": "touchArea", "left": 64, "top": 32, "right": 95, "bottom": 63,
                "tasks": {"press": [task("writeValue", value=123, tag1=setpoint)], "pressed": [],
                          "released": []}})
doc["screens"] = [
    {"number": 1, "name": "Entry", "objects": one,
     "keys": [{"key": first, "secondKey": second,
               "tasks": {"press": [task("gotoScreen", value=2)], "pressed": [], "released": []}}]},
    {"number": 2, "name": "Second", "objects": [dict({"kind": "text", "text": "Screen 2"}, **title)]},
]
json.dump(doc, open(sys.argv[2], "w"), indent=1)

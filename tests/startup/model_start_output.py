#!/usr/bin/env python3
"""Independent model of the program's start-up output (the banner, the two face
frame tables and the iteration trace). Python floats are IEEE doubles and '%.Ng'
rounds correctly, like the C++ stream's general notation at precision N.

    python3 tests/startup/model_start_output.py > tests/startup/start_output_golden.txt
"""
import math
import sys

# The angles as the stored doubles, written out rather than derived from pi.
RING_ANGLES = {
    2: 1.2566370614359172, 3: 2.5132741228718345, 4: 3.7699111843077517,
    5: 5.026548245743669, 6: 0.6283185307179586, 7: 1.8849555921538759,
    8: 3.141592653589793, 9: 4.39822971502571, 10: 5.654866776461628,
}


def vertices():
    r = 0.5 / math.sin(0.6283185307179586)
    h = math.sqrt(1.0 - r * r)
    apex = r * 0.5 + h
    low, high = -(r * 0.5), r * 0.5
    points = [(0.0, 0.0, -apex), (r, 0.0, low)]
    for index in range(2, 11):
        a = RING_ANGLES[index]
        points.append((r * math.cos(a), r * math.sin(a), low if index <= 5 else high))
    points.append((0.0, 0.0, apex))
    return points


FRAME_CORNERS = [(1, 6, 10), (7, 3, 8), (6, 2, 7), (8, 4, 9),
                 (9, 5, 10), (6, 7, 11), (10, 6, 11), (7, 8, 11)]


def frame(points, corners):
    p0, p1, p2 = (points[i] for i in corners)
    return [[p1[r] - p0[r], p2[r] - p0[r], p0[r]] for r in range(3)]


def determinant(m):
    det = 0.0
    for k in range(3):
        det += (m[0][k] * m[1][(k + 1) % 3] * m[2][(k + 2) % 3]
                - m[0][k] * m[1][(k + 2) % 3] * m[2][(k + 1) % 3])
    return det


def inverse(m, lines):
    det = determinant(m)
    if det == 0.0:
        lines.append("error")
        f = det
    else:
        f = 1.0 / det
    b = []
    for r in range(3):
        r1, r2 = (r + 1) % 3, (r + 2) % 3
        b.append([(m[2][r2] * m[1][r1] - m[2][r1] * m[1][r2]) * f,
                  (m[2][r1] * m[0][r2] - m[2][r2] * m[0][r1]) * f,
                  (m[1][r2] * m[0][r1] - m[1][r1] * m[0][r2]) * f])
    return b


def g(value, precision):
    text = "%.*g" % (precision, value)
    return text


def block(m):
    rows = ["{" + ",".join(g(v, 18) for v in row) + "}" for row in m]
    return ["{" + rows[0] + ",", rows[1] + ",", rows[2] + "},"]


def output():
    lines = ["start!"]
    points = vertices()
    frames = [frame(points, corners) for corners in FRAME_CORNERS]
    lines.append("const double mojonumbersA[8][3][3]={//do not edit")
    for m in frames:
        lines += block(m)
    lines.append("};")
    lines.append("const double mojonumbersB[8][3][3]={//do not edit")
    for m in frames:
        inverse_lines = []
        b = inverse(m, inverse_lines)
        lines += inverse_lines + block(b)
    lines.append("};")
    x = 0.9
    for step in range(20):
        following = (1.35 - (x * x) * 0.35) * x
        lines.append("%s*(%s-%s*%s<sup>2</sup>)=%s" % (
            g(x, 19), g(1.35, 19), g(0.35, 19), g(x, 19), g(following, 19)))
        x = following
        if x == 1.0:
            lines += [str(step), "1lol! !!1!11one~one"]
            break
    return lines


# The examples printed alongside the description of this output.
EXPECTED = [
    "{{-0.162459848116453087,-0.162459848116453198,0.850650808352039878},",
    "{0.5,-0.500000000000000111,0},",
    "{0.850650808352039878,0.850650808352039878,-0.425325404176019939}},",
    "{{0.324919696232906396,0.999999999999999667,0.649839392465812793},",
    "{0.324919696232906285,-0.999999999999999889,0.649839392465812571},",
    "{1.29967878493162536,-1.272202380942295e-16,0.248216560693358068}},",
    "0.9000000000000000222*(1.350000000000000089-0.3499999999999999778*"
    "0.9000000000000000222<sup>2</sup>)=0.959849999999999981",
]


def main():
    lines = output()
    assert len(lines) == 73, len(lines)
    assert lines[2:5] == EXPECTED[0:3]
    assert lines[28:31] == EXPECTED[3:6]
    assert lines[53] == EXPECTED[6]
    assert lines[72].endswith("=0.9999999999943117723"), lines[72]
    sys.stdout.write("".join(line + "\n" for line in lines))


if __name__ == "__main__":
    main()

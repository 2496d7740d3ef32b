#!/usr/bin/env python3
"""Independent model of the mesh refinement and its statistics.

Builds the icosahedron, runs refinement steps and prints, per step, what the program
prints plus the element counts and an FNV-1a hash of all records. Python floats are
IEEE doubles and every sum and product is taken in the program's order, so the
digits must match exactly. Writes the golden file that tests/mesh compares against:

    python3 tests/mesh/model_refinement.py 10 > tests/mesh/refinement_golden.txt
"""
import math
import struct
import sys

EDGE_TABLE = [  # pairs: (vertex, face, next) for edge 2k, then for edge 2k+1
    (0, 1, 12, 1, 0, 2), (0, 0, 11, 2, 2, 4), (0, 2, 19, 3, 3, 6), (0, 3, 25, 4, 4, 8),
    (0, 4, 31, 5, 1, 0), (1, 5, 20, 2, 0, 1), (1, 1, 9, 5, 6, 16), (1, 7, 42, 6, 5, 10),
    (1, 6, 39, 10, 7, 14), (2, 8, 26, 3, 2, 3), (2, 5, 15, 6, 9, 22), (2, 9, 41, 7, 8, 18),
    (3, 10, 32, 4, 3, 5), (3, 8, 23, 7, 11, 28), (3, 11, 47, 8, 10, 24), (4, 12, 36, 5, 4, 7),
    (4, 10, 29, 8, 13, 34), (4, 13, 51, 9, 12, 30), (5, 12, 35, 9, 14, 38),
    (5, 14, 55, 10, 6, 13), (6, 15, 48, 7, 9, 21), (6, 7, 17, 10, 16, 44),
    (6, 16, 59, 11, 15, 40), (7, 17, 52, 8, 11, 27), (7, 15, 45, 11, 17, 46),
    (8, 18, 56, 9, 13, 33), (8, 17, 49, 11, 18, 50), (9, 19, 58, 10, 14, 37),
    (9, 18, 53, 11, 19, 54), (10, 19, 57, 11, 16, 43),
]
FACE_EDGES = [1, 0, 3, 5, 7, 10, 13, 14, 18, 21, 24, 27, 30, 33, 37, 40, 43, 46, 50, 54]
VERTEX_EDGES = [1, 0, 2, 4, 6, 8, 14, 22, 28, 34, 16, 44]


class Mesh:
    def __init__(self):
        ring = 0.5 / math.sin(0.6283185307179586)
        apex = ring * 0.5 + math.sqrt(1 - ring * ring)
        low, high = -ring * 0.5, ring * 0.5
        lower = [1.2566370614359172, 2.5132741228718345, 3.7699111843077517, 5.026548245743669]
        upper = [0.6283185307179586, 1.8849555921538759, 3.141592653589793, 4.39822971502571,
                 5.654866776461628]
        pos = [(0.0, 0.0, -apex), (ring, 0.0, low)]
        pos += [(ring * math.cos(a), ring * math.sin(a), low) for a in lower]
        pos += [(ring * math.cos(a), ring * math.sin(a), high) for a in upper]
        pos.append((0.0, 0.0, apex))
        self.vertices = [[x, y, z, e] for (x, y, z), e in zip(pos, VERTEX_EDGES)]
        self.edges = []
        for v0, f0, n0, v1, f1, n1 in EDGE_TABLE:
            self.edges.append([v0, f0, n0])
            self.edges.append([v1, f1, n1])
        self.faces = list(FACE_EDGES)

    def end(self, e):
        return self.edges[e ^ 1][0]

    def link(self, a, b):
        a0, a1, b0, b1 = self.edges[a][0], self.end(a), self.edges[b][0], self.end(b)
        if a0 == b0:
            a ^= 1
        elif a1 == b0:
            pass
        elif a0 == b1:
            a ^= 1
            b ^= 1
        elif a1 == b1:
            b ^= 1
        else:
            raise AssertionError("no shared vertex")
        self.edges[a][2] = b
        return a, b

    def add_pair(self, p, q):
        k = len(self.edges)
        assert k % 2 == 0
        self.edges.append([p, -1, -1])
        self.edges.append([q, -1, -1])
        self.vertices[p][3] = k + 1
        self.vertices[q][3] = k
        return k

    def triangle(self, e0, e1, e2):
        e0, e1 = self.link(e0, e1)
        kept = e1
        e1, e2 = self.link(e1, e2)
        assert e1 == kept
        kept = e2
        e2, e0 = self.link(e2, e0)
        assert e2 == kept
        return e0, e1, e2

    def set_face(self, f, e0, e1, e2):
        e0, e1, e2 = self.triangle(e0, e1, e2)
        self.faces[f] = e0
        for e in (e0, e1, e2):
            self.edges[e][1] = f
        return e0, e1, e2

    def add_face(self, e0, e1, e2):
        f = len(self.faces)
        e0, e1, e2 = self.triangle(e0, e1, e2)
        self.faces.append(e0)
        for e in (e0, e1, e2):
            self.edges[e][1] = f
        return f, e0, e1, e2

    def unit(self, x, y, z):
        s = 1 / math.sqrt(x * x + y * y + z * z)
        return [s * x, s * y, s * z]

    def split_faces(self):
        for i in range(len(self.faces)):
            e0 = self.faces[i]
            e1 = self.edges[e0][2]
            e2 = self.edges[e1][2]
            p, q, r = self.edges[e0][0], self.edges[e1][0], self.edges[e2][0]
            vp, vq, vr = self.vertices[p], self.vertices[q], self.vertices[r]
            third = 0.3333333333333333
            g = [((vp[k] + vq[k]) + vr[k]) * third for k in range(3)]
            m = len(self.vertices)
            self.vertices.append(self.unit(*g) + [len(self.edges)])
            sp, sq, sr = self.add_pair(p, m), self.add_pair(q, m), self.add_pair(r, m)
            _, sq, sp = self.set_face(i, e0, sq, sp)
            _, _, sr, sq = self.add_face(e1, sr, sq)
            self.add_face(e2, sp, sr)

    def split_edge(self, a):
        b = self.edges[a][2]
        d = self.edges[b][2]
        t = a ^ 1
        c = self.edges[t][2]
        g = self.edges[c][2]
        fa, ft = self.edges[a][1], self.edges[t][1]
        p, q, r, s = self.edges[a][0], self.end(a), self.end(b), self.end(c)
        self.vertices[q][3] = b ^ 1
        vp, vq = self.vertices[p], self.vertices[q]
        m = len(self.vertices)
        self.vertices.append(self.unit(vq[0] + vp[0], vq[1] + vp[1], vq[2] + vp[2]) + [a])
        self.edges[t][0] = m
        tq, tr, ts = self.add_pair(m, q), self.add_pair(m, r), self.add_pair(m, s)
        a, tr, d = self.set_face(fa, a, tr, d)
        tq, ts, g = self.set_face(ft, tq, ts, g)
        _, tq, b, tr = self.add_face(tq, b, tr)
        return self.add_face(a, c, ts)[0]

    def statistics(self):
        lo, hi = 1e6, -1e8
        for e0 in self.faces:
            e1 = self.edges[e0][2]
            e2 = self.edges[e1][2]
            p, q, r = (self.vertices[self.edges[e][0]] for e in (e0, e1, e2))
            u = [q[k] - p[k] for k in range(3)]
            w = [r[k] - p[k] for k in range(3)]
            n = (u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0])
            area = 0.5 * math.sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2])
            if area > hi:
                hi = area
            if area < lo:
                lo = area
        ratio = hi / lo
        return ["Max/min area ratio=%.19g" % ratio, "Relative error=%.19g" % (ratio - 1)]

    def hash(self):
        h = 0xcbf29ce484222325
        data = bytearray()
        for x, y, z, e in self.vertices:
            data += struct.pack("<dddi", x, y, z, e)
        for v, f, n in self.edges:
            data += struct.pack("<iii", v, f, n)
        for e in self.faces:
            data += struct.pack("<i", e)
        for byte in data:
            h = ((h ^ byte) * 0x100000001b3) & 0xFFFFFFFFFFFFFFFF
        return h


def main():
    steps = int(sys.argv[1]) if len(sys.argv) > 1 else 10
    mesh = Mesh()
    ranges, phase = [], 0
    for step in range(1, steps + 1):
        if not ranges:
            mesh.split_faces()
            ranges = [0, 60, len(mesh.edges)]
            phase = 0
        else:
            for r in range(phase, len(ranges) - 1, 2):
                for i in range(ranges[r], ranges[r + 1], 2):
                    mesh.split_edge(i)
            ranges.append(len(mesh.edges))
            phase = 1 - phase
        print("step %d" % step)
        for line in mesh.statistics():
            print(line)
        print("Face count: %d" % len(mesh.faces))
        print("counts %d %d %d phase %d ranges %s" % (
            len(mesh.vertices), len(mesh.edges), len(mesh.faces), phase,
            ",".join(str(r) for r in ranges)))
        print("hash %016x" % mesh.hash())
    edge_mesh = Mesh()
    edge_mesh.split_edge(10)
    print("splitEdge 10")
    print("counts %d %d %d" % (len(edge_mesh.vertices), len(edge_mesh.edges), len(edge_mesh.faces)))
    print("hash %016x" % edge_mesh.hash())


if __name__ == "__main__":
    main()

#pragma once
// Meshes and helpers the mesh tests share: the start-up icosahedron, a record-by-record
// hash, and checks that hold after every completed edit.

#include <cstdint>
#include <string>

#include "mesh/mesh.h"

Mesh icosahedron();
// FNV-1a over every field of every record, in the byte layout the model hashes.
uint64_t meshHash(const Mesh& mesh);
std::string hexHash(uint64_t hash);
// Empty when the mesh validates, is a closed genus-0 surface, and every face has
// positive area with its normal pointing away from the origin.
std::string sphereFaults(const Mesh& mesh);

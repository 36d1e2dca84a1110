"""The .gltf written beside a material: valid for the Khronos glTF validator
with its pictures beside it, whatever the material's file name, and the
square, its material and its sampler as a viewer needs them to show the
texture tiled."""

import base64
import json
import os
import shutil
import struct
import subprocess
import tempfile
import unittest
import urllib.parse

from PIL import Image

GLTF_TOOL = os.environ.get("QUILTOR_GLTF_TOOL", "write_gltf")
RENDER = os.environ.get("QUILTOR_RENDER_BINARY", "quiltor-render")
# A material with heights, roughness and metallic of their own.
MATERIAL_RECIPE = """quiltor recipe 1
seed 7
cells target=1 nr=12 size=60
plasma target=2 variation=40
copy target=3 source=1
invert target=3
material height=1 roughness=2 metallic=3
save target=1
"""
VALIDATOR_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                             "gltf-validator")
# Names with what a URI must escape: a space, "#", "%", "?", a leading ":"
# and letters outside ASCII.
ODD_NAMES = ["brick wall", "50% #2?", ":rust", "Ziegel ä 木"]
BUFFER_PREFIX = "data:application/octet-stream;base64,"


def write_pictures(folder, stem):
    """Small power-of-two PNGs as the material's colours, normal map and
    occlusion-roughness-metallic map."""
    size = 8
    colours = Image.new("RGB", (size, size))
    colours.putdata([(x * 32, y * 32, 90) for y in range(size) for x in range(size)])
    colours.save(os.path.join(folder, stem + ".png"))
    Image.new("RGB", (size, size), (128, 128, 255)).save(os.path.join(folder, stem + "-normal.png"))
    Image.new("RGB", (size, size), (255, 200, 0)).save(os.path.join(folder, stem + "-orm.png"))


def run_validator(gltf):
    """The validator's exit status, its report and what it printed on
    standard error."""
    if not os.path.isfile(os.path.join(VALIDATOR_DIR, "node_modules", "gltf-validator",
                                       "package.json")):
        raise AssertionError("the glTF validator is not installed: run scripts/install-deps.sh test")
    result = subprocess.run(["node", os.path.join(VALIDATOR_DIR, "validate.js"), gltf],
                            capture_output=True, text=True, timeout=120)
    report = json.loads(result.stdout) if result.stdout else None
    return result.returncode, report, result.stderr


class GltfTest(unittest.TestCase):
    def setUp(self):
        self.workdir = tempfile.mkdtemp(prefix="quiltor-gltf-")
        self.addCleanup(shutil.rmtree, self.workdir, True)

    def write_gltf(self, folder, stem):
        os.makedirs(folder, exist_ok=True)
        out = os.path.join(folder, stem + ".png")
        result = subprocess.run([GLTF_TOOL, out], capture_output=True, timeout=60)
        self.assertEqual(result.returncode, 0, result.stderr)
        gltf = os.path.join(folder, stem + ".gltf")
        self.assertEqual(result.stdout.decode("utf-8"), gltf + "\n")
        return gltf

    def assert_valid_with_its_pictures(self, gltf, width):
        """Checks that the validator finds no error, warning, info or hint in
        the .gltf and finds its three pictures, PNGs `width` wide; returns
        its report."""
        status, report, messages = run_validator(gltf)
        self.assertEqual(status, 0, messages)
        issues = report["issues"]
        self.assertEqual((issues["numErrors"], issues["numWarnings"], issues["numInfos"],
                          issues["numHints"]), (0, 0, 0, 0), messages)
        images = [resource for resource in report["info"]["resources"]
                  if resource["pointer"].startswith("/images/")]
        self.assertEqual([(image["storage"], image["mimeType"], image["image"]["width"])
                          for image in images], [("external", "image/png", width)] * 3)
        return report

    def test_a_rendered_gltf_material_passes_the_validator(self):
        # The renderer's own files, beside the scene it writes, under a name
        # and in a folder that need escaping.
        folder = os.path.join(self.workdir, "maps #1 Ziegel ä")
        os.makedirs(folder)
        recipe = os.path.join(self.workdir, "wall.recipe")
        with open(recipe, "w") as file:
            file.write(MATERIAL_RECIPE)
        out = os.path.join(folder, "brick wall #2.png")
        result = subprocess.run([RENDER, recipe, "--size", "256", "--quiet", "-o", out,
                                 "--material", "--for", "gltf"], capture_output=True, timeout=120)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(sorted(os.listdir(folder)),
                         ["brick wall #2-normal.png", "brick wall #2-orm.png",
                          "brick wall #2.gltf", "brick wall #2.png"])
        gltf = os.path.join(folder, "brick wall #2.gltf")
        self.assert_valid_with_its_pictures(gltf, 256)
        # The scene is the one the writer gives for that OUT, byte for byte.
        with open(gltf, "rb") as file:
            rendered = file.read()
        os.remove(gltf)
        self.assertEqual(rendered, open(self.write_gltf(folder, "brick wall #2"), "rb").read())

    def test_odd_names_pass_the_validator(self):
        for stem in ODD_NAMES:
            with self.subTest(stem=stem):
                # The folder's name needs escaping too, but is no part of the URIs.
                folder = os.path.join(self.workdir, "maps #1 " + stem)
                gltf = self.write_gltf(folder, stem)
                write_pictures(folder, stem)
                report = self.assert_valid_with_its_pictures(gltf, 8)
                self.assertEqual(report["info"]["drawCallCount"], 1)

    def test_validator_fails_on_a_missing_picture(self):
        folder = os.path.join(self.workdir, "missing")
        gltf = self.write_gltf(folder, "brick wall")
        write_pictures(folder, "brick wall")
        os.remove(os.path.join(folder, "brick wall-orm.png"))
        status, report, messages = run_validator(gltf)
        self.assertEqual(status, 1)
        self.assertGreater(report["issues"]["numErrors"], 0)
        self.assertIn("/images/2", messages)

    def test_document_structure(self):
        stem = "Ziegel ä #3"
        gltf = self.write_gltf(os.path.join(self.workdir, "a"), stem)
        with open(gltf, "rb") as file:
            text = file.read()
        # The same names give the same bytes, wherever the file is.
        with open(self.write_gltf(os.path.join(self.workdir, "b"), stem), "rb") as file:
            self.assertEqual(file.read(), text)
        document = json.loads(text.decode("ascii"))
        self.assertEqual(document["asset"], {"version": "2.0", "generator": "Quiltor"})
        self.assertEqual(document["scenes"][document["scene"]]["nodes"], [0])
        primitive, = document["meshes"][document["nodes"][0]["mesh"]]["primitives"]

        def picture(texture_info):
            texture = document["textures"][texture_info["index"]]
            self.assertNotIn("texCoord", texture_info)
            sampler = document["samplers"][texture["sampler"]]
            self.assertEqual((sampler["wrapS"], sampler["wrapT"]), (10497, 10497))
            self.assertEqual(sampler["magFilter"], 9729)
            uri = document["images"][texture["source"]]["uri"]
            self.assertNotIn(" ", uri)
            self.assertNotIn("#", uri)
            return urllib.parse.unquote(uri, encoding="utf-8", errors="strict")

        material = document["materials"][primitive["material"]]
        pbr = material["pbrMetallicRoughness"]
        self.assertEqual(picture(pbr["baseColorTexture"]), stem + ".png")
        self.assertEqual(picture(material["normalTexture"]), stem + "-normal.png")
        self.assertEqual(picture(pbr["metallicRoughnessTexture"]), stem + "-orm.png")
        self.assertEqual(material["occlusionTexture"], pbr["metallicRoughnessTexture"])
        # The factors default to 1, so the maps' own values count.
        for factor in ("baseColorFactor", "metallicFactor", "roughnessFactor"):
            self.assertNotIn(factor, pbr)

        buffer, = document["buffers"]
        self.assertTrue(buffer["uri"].startswith(BUFFER_PREFIX))
        data = base64.b64decode(buffer["uri"][len(BUFFER_PREFIX):], validate=True)
        self.assertEqual(len(data), buffer["byteLength"])

        def read(accessor_index):
            accessor = document["accessors"][accessor_index]
            view = document["bufferViews"][accessor["bufferView"]]
            width = {"SCALAR": 1, "VEC2": 2, "VEC3": 3, "VEC4": 4}[accessor["type"]]
            code = {5126: "f", 5123: "H"}[accessor["componentType"]]
            start = view["byteOffset"] + accessor.get("byteOffset", 0)
            values = struct.unpack_from("<%d%s" % (accessor["count"] * width, code), data, start)
            self.assertLessEqual(start + struct.calcsize("<%d%s" % (len(values), code)),
                                 view["byteOffset"] + view["byteLength"])
            return accessor, [values[i:i + width] for i in range(0, len(values), width)]

        accessor, positions = read(primitive["attributes"]["POSITION"])
        self.assertEqual(accessor["min"], [min(axis) for axis in zip(*positions)])
        self.assertEqual(accessor["max"], [max(axis) for axis in zip(*positions)])
        self.assertEqual(accessor["min"], [-0.5, -0.5, 0.0])
        self.assertEqual(accessor["max"], [0.5, 0.5, 0.0])
        _, normals = read(primitive["attributes"]["NORMAL"])
        _, tangents = read(primitive["attributes"]["TANGENT"])
        _, uvs = read(primitive["attributes"]["TEXCOORD_0"])
        _, indices = read(primitive["indices"])
        self.assertEqual(normals, [(0.0, 0.0, 1.0)] * 4)
        self.assertEqual(tangents, [(1.0, 0.0, 0.0, 1.0)] * 4)
        # The texture once across the square, its top row (v = 0) at the top
        # (+Y) and u growing along +X, the tangent's direction.
        for (x, y, _), (u, v) in zip(positions, uvs):
            self.assertEqual((u, v), (x + 0.5, 0.5 - y))
        # Two triangles over the four corners, both facing +Z.
        triangles = [[index for (index,) in indices[i:i + 3]] for i in range(0, 6, 3)]
        self.assertEqual(sorted(set(sum(triangles, []))), [0, 1, 2, 3])
        for a, b, c in triangles:
            (ax, ay, _), (bx, by, _), (cx, cy, _) = positions[a], positions[b], positions[c]
            self.assertGreater((bx - ax) * (cy - ay) - (by - ay) * (cx - ax), 0)
        self.assertEqual(primitive.get("mode", 4), 4)


if __name__ == "__main__":
    unittest.main()

// Writes the ball mesh: a sphere of radius 1 in the DirectX .x text format, with normals,
// texture coordinates and one textured material. Run from the source tree: make_ball game/boule.x
//
// The sphere is a latitude-longitude grid. Its seam repeats a column of vertices so that every
// vertex has one texture coordinate, and each pole has one vertex per sector, placed at the
// middle of that sector in the texture; so every vertex belongs to some face.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kStacks = 12;  // bands from pole to pole
constexpr int kSlices = 24;  // sectors around the y axis
constexpr double kPi = 3.14159265358979323846;
// Relative to the game's working directory, where the game runs and loads the mesh.
constexpr const char* kTexture = "texture/cubepurple.png";

struct Vertex {
    double x, y, z;
    double u, v;
};

struct Face {
    int a, b, c;
};

Vertex onSphere(double polar, double azimuth, double u, double v)
{
    return {std::sin(polar) * std::cos(azimuth), std::cos(polar), std::sin(polar) * std::sin(azimuth), u, v};
}

// Vertex order: the top pole's kSlices, the rings of stacks 1 to kStacks - 1 with kSlices + 1
// each, then the bottom pole's kSlices.
int topPole(int slice) { return slice; }
int ring(int stack, int slice) { return kSlices + (stack - 1) * (kSlices + 1) + slice; }
int bottomPole(int slice) { return ring(kStacks, 0) + slice; }

std::vector<Vertex> makeVertices()
{
    std::vector<Vertex> vertices;
    for (int slice = 0; slice < kSlices; ++slice)
        vertices.push_back(onSphere(0.0, 0.0, (slice + 0.5) / kSlices, 0.0));
    for (int stack = 1; stack < kStacks; ++stack) {
        double polar = kPi * stack / kStacks;  // 0 at the top
        for (int slice = 0; slice <= kSlices; ++slice)
            vertices.push_back(onSphere(polar, 2.0 * kPi * slice / kSlices, static_cast<double>(slice) / kSlices,
                                        static_cast<double>(stack) / kStacks));
    }
    for (int slice = 0; slice < kSlices; ++slice)
        vertices.push_back(onSphere(kPi, 0.0, (slice + 0.5) / kSlices, 1.0));
    return vertices;
}

// Clockwise seen from outside, the front face in Direct3D's left-handed space.
std::vector<Face> makeFaces()
{
    std::vector<Face> faces;
    for (int slice = 0; slice < kSlices; ++slice)
        faces.push_back({topPole(slice), ring(1, slice + 1), ring(1, slice)});
    for (int stack = 1; stack + 1 < kStacks; ++stack) {
        for (int slice = 0; slice < kSlices; ++slice) {
            int topLeft = ring(stack, slice), topRight = ring(stack, slice + 1);
            int bottomLeft = ring(stack + 1, slice), bottomRight = ring(stack + 1, slice + 1);
            faces.push_back({topLeft, topRight, bottomLeft});
            faces.push_back({topRight, bottomRight, bottomLeft});
        }
    }
    for (int slice = 0; slice < kSlices; ++slice)
        faces.push_back({ring(kStacks - 1, slice), ring(kStacks - 1, slice + 1), bottomPole(slice)});
    return faces;
}

// "0.000000" rather than "-0.000000": the file stays the same whatever the rounding of sin.
double tidy(double value) { return std::fabs(value) < 5e-7 ? 0.0 : value; }

// Elements of a list end with "," and the last one with ";", as the format wants.
const char* listEnd(std::size_t i, std::size_t count) { return i + 1 < count ? "," : ";"; }

void writeFaceList(std::FILE* out, const std::vector<Face>& faces)
{
    std::fprintf(out, "  %zu;\n", faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i)
        std::fprintf(out, "  3;%d,%d,%d;%s\n", faces[i].a, faces[i].b, faces[i].c, listEnd(i, faces.size()));
}

void writeVectorList(std::FILE* out, const std::vector<Vertex>& vertices)
{
    std::fprintf(out, "  %zu;\n", vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const Vertex& v = vertices[i];
        std::fprintf(out, "  %.6f;%.6f;%.6f;%s\n", tidy(v.x), tidy(v.y), tidy(v.z), listEnd(i, vertices.size()));
    }
}

void writeMesh(std::FILE* out)
{
    std::vector<Vertex> vertices = makeVertices();
    std::vector<Face> faces = makeFaces();

    std::fprintf(out, "xof 0303txt 0032\n\n");
    std::fprintf(out, "Mesh Ball {\n");
    writeVectorList(out, vertices);
    writeFaceList(out, faces);

    // On a unit sphere the normal is the position itself.
    std::fprintf(out, "\n MeshNormals {\n");
    writeVectorList(out, vertices);
    writeFaceList(out, faces);
    std::fprintf(out, " }\n");

    std::fprintf(out, "\n MeshTextureCoords {\n");
    std::fprintf(out, "  %zu;\n", vertices.size());
    for (std::size_t i = 0; i < vertices.size(); ++i)
        std::fprintf(out, "  %.6f;%.6f;%s\n", vertices[i].u, vertices[i].v, listEnd(i, vertices.size()));
    std::fprintf(out, " }\n");

    std::fprintf(out, "\n MeshMaterialList {\n");
    std::fprintf(out, "  1;\n");
    std::fprintf(out, "  %zu;\n", faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) std::fprintf(out, "  0%s\n", listEnd(i, faces.size()));
    std::fprintf(out, "\n  Material {\n");
    std::fprintf(out, "   0.800000;0.800000;0.800000;1.000000;;\n");  // face colour
    std::fprintf(out, "   20.000000;\n");                             // specular power
    std::fprintf(out, "   0.300000;0.300000;0.300000;;\n");           // specular colour
    std::fprintf(out, "   0.000000;0.000000;0.000000;;\n");           // emissive colour
    std::fprintf(out, "   TextureFilename {\n    \"%s\";\n   }\n", kTexture);
    std::fprintf(out, "  }\n");
    std::fprintf(out, " }\n");
    std::fprintf(out, "}\n");
}

}  // namespace

int main(int argc, char** argv)
{
    std::string path = argc > 1 ? argv[1] : "game/boule.x";
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "make_ball: cannot write %s\n", path.c_str());
        return 1;
    }
    writeMesh(out);
    if (std::fclose(out) != 0) {
        std::fprintf(stderr, "make_ball: cannot write %s\n", path.c_str());
        return 1;
    }
    std::printf("wrote %s\n", path.c_str());
    return 0;
}

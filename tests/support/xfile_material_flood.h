#pragma once
// A .x file that is small but lists one material many times: a named material with a texture
// name of `nameLength` characters, then a one-triangle mesh whose material list refers to it
// `references` times. Each reference is three bytes of file; if copied, it would cost the whole
// name, so the file is for tests of the material cap.

#include <cstddef>
#include <string>

inline std::string materialFloodFile(std::size_t nameLength, std::size_t references)
{
    std::string file = "xof 0303txt 0032\n"
                       "Material Flood {\n 1.0;1.0;1.0;1.0;;\n 0.0;\n 0.0;0.0;0.0;;\n 0.0;0.0;0.0;;\n"
                       " TextureFilename { \"";
    file.append(nameLength, 'a');
    file += "\"; }\n}\n"
            "Mesh {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n"
            " MeshMaterialList {\n " + std::to_string(references) + ";\n 1;\n 0;;\n";
    for (std::size_t i = 0; i < references; ++i)
        file += "{Flood}";
    file += "\n }\n}\n";
    return file;
}

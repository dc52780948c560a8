#pragma once
// Every text the player sees, and the names the game looks for, byte for byte.
// The texts are Latin-1: the é is the single byte 0xE9.

namespace messages {

constexpr char windowClass[] = "Quorvel";
constexpr char windowTitle[] = "Quorvel 04: Lights";

constexpr char levelListFile[] = "map/jeu.txt";
constexpr char ballMeshFile[] = "boule.x";
constexpr char goalTextureFile[] = "texture/cubepurple.png";
constexpr char oddCellTextureFile[] = "texture/cuben.png";
constexpr char evenCellTextureFile[] = "texture/cubeb.png";

constexpr char fallCaption[] = "AAAOUCHH!";
constexpr char fallText[] = "Beurk, tu t'es viand\xE9! c'est comique!";

constexpr char nextLevelCaption[] = "FELICITATIONS";
constexpr char nextLevelText[] = "BRAVO niveau suivant";

constexpr char gameOverCaption[] = "BONJOUR";
constexpr char gameOverText[] =
    "BRAVO, vous avez fini le jeu, c'\xE9tait assez lamentable"
    " \n "
    "mais c'\xE9tait surtout pour apprendre DirectX pendant une semaine ^^";

}  // namespace messages

#include "physics/Snake.h"

#include <cstdint>
#include <fstream>

namespace {

constexpr std::int32_t minimumStep = 20;     // ms
constexpr std::uint32_t jumpLength = 500;    // ms
constexpr float firstHeight = 5.0f;
constexpr float jumpSpeed = 0.005f;
// These two are doubles on purpose: the speed is widened, compared or changed in double
// precision, and only the stored result is rounded back to float.
constexpr double fallingSpeedLimit = -0.005;
constexpr double gravityStep = 0.0002;

// now - last as a signed 32-bit count, so a stamp from before the last step reads negative.
std::int32_t elapsed(std::uint32_t now, std::uint32_t last)
{
    const std::uint32_t difference = now - last;
    if (difference <= 0x7fffffffu)
        return static_cast<std::int32_t>(difference);
    return -static_cast<std::int32_t>(~difference) - 1;
}

void moveVertically(Snake& ball, std::int32_t dt, std::uint32_t now)
{
    const bool jumping = now - ball.jumpStart < ball.jumpDuration;
    if (!jumping)
        ball.jumpStart = 0;

    if (ball.contacts.dessus && !jumping) {
        // Standing still keeps y and the vertical speed as they are, even a speed left
        // from the landing: only a jump moves a standing ball.
        if (ball.jumpRequest) {
            ball.velocity.y = jumpSpeed;
            ball.jumpRequest = false;
            ball.jumpStart = now;
            ball.position.y = ball.position.y + static_cast<float>(dt) * ball.velocity.y;
        }
        return;
    }

    ball.jumpRequest = false;  // no jumping from the air or twice in one jump
    if (static_cast<double>(ball.velocity.y) >= fallingSpeedLimit)
        ball.velocity.y = static_cast<float>(static_cast<double>(ball.velocity.y) - gravityStep);
    ball.position.y = ball.position.y + static_cast<float>(dt) * ball.velocity.y;
}

// Puts the ball against each flagged wall and turns it around, whatever way it was going.
void bounceOffWalls(Snake& ball, const Map& map)
{
    const std::int64_t row = ball.contacts.row;
    const std::int64_t column = ball.contacts.column;
    const float tx = map.tileSizeX;
    const float tz = map.tileSizeZ;
    if (ball.contacts.droite) {
        ball.position.x = static_cast<float>(row + 1) * tx - ball.radius;
        ball.velocity.x = -ball.velocity.x;
    }
    if (ball.contacts.gauche) {
        ball.position.x = static_cast<float>(row) * tx + ball.radius;
        ball.velocity.x = -ball.velocity.x;
    }
    if (ball.contacts.pres) {
        ball.position.z = static_cast<float>(column) * tz + ball.radius;
        ball.velocity.z = -ball.velocity.z;
    }
    if (ball.contacts.loin) {
        ball.position.z = static_cast<float>(column + 1) * tz - ball.radius;
        ball.velocity.z = -ball.velocity.z;
    }
}

// Three rows around the goal row; the goal column and the one after it. 64-bit so a goal
// at the edge of the integer range does not overflow.
bool inGoalArea(const ContactFlags& cell, const Map& map)
{
    const std::int64_t row = cell.row;
    const std::int64_t column = cell.column;
    const std::int64_t goalRow = map.goalRow;
    const std::int64_t goalColumn = map.goalColumn;
    return goalRow - 1 <= row && row <= goalRow + 1 && goalColumn <= column && column <= goalColumn + 1;
}

}  // namespace

Snake::Snake()
{
    lastUpdate = 0;
    jumpDuration = jumpLength;
}

Snake::~Snake() = default;

bool Snake::update(Map* map, std::uint32_t now)
{
    updateContacts(map);

    const std::int32_t dt = elapsed(now, lastUpdate);
    // A missing log/ directory leaves the stream closed; writes to it do nothing.
    std::ofstream log("log/interp.txt");
    log << dt;

    if (!started) {
        started = true;
        position.y = firstHeight;
        lastUpdate = now;
        return true;
    }
    if (dt < minimumStep)
        return true;

    moveVertically(*this, dt, now);
    bounceOffWalls(*this, *map);
    position.x = position.x + static_cast<float>(dt) * velocity.x;
    position.z = position.z + static_cast<float>(dt) * velocity.z;
    logContacts();
    lastUpdate = now;
    log << velocity.y;
    log.close();

    return !inGoalArea(contacts, *map);
}

void Snake::logContacts()
{
    std::ofstream log("log/logSnake.txt");
    log << position.x << " " << position.y << " " << position.z
        << "pres" << contacts.pres << "loin" << contacts.loin << "gauche" << contacts.gauche
        << "droite" << contacts.droite << "dessus" << contacts.dessus;
}

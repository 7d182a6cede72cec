#include "props.h"

#include <QtMath>

#include <algorithm>
#include <cmath>

namespace props {

namespace {

using Corner = MeshBuilder::Corner;

const float kDegree = float(M_PI) / 180.0f;

QVector3D polar(float radius, float angle, float z) { return {radius * std::cos(angle), radius * std::sin(angle), z}; }
QVector3D radial(float angle) { return {std::cos(angle), std::sin(angle), 0.0f}; }

Material textured(const QString& name, const QString& texture, float specular = 0.2f, float shininess = 60.0f)
{
    return {name, QColor(255, 255, 255), texture, specular, shininess};
}

Material plain(const QString& name, const QColor& colour, float specular = 0.2f, float shininess = 60.0f)
{
    return {name, colour, QString(), specular, shininess};
}

// Face-on texture coordinates of the gear: the picture of the disc, mirrored
// on the back so that it reads the same way from behind.
QVector2D gearUv(const QVector3D& p, bool back)
{
    const float u = 0.5f + (back ? -p.x() : p.x()) / 64.0f;
    return {u, 0.5f + p.y() / 64.0f};
}

// Where a point lies around the z axis, as a fraction of a turn from `from`.
float turnFrom(const QVector3D& p, float from)
{
    const float turn = (std::atan2(p.y(), p.x()) - from) / (2 * float(M_PI));
    return turn - std::floor(turn);
}

// A flat ring between two closed outlines at the same height, facing +z or
// -z: one triangle per corner of either outline, zipped together in angle
// order, so the rings need not have the same number of corners. Both run
// counter-clockwise and the inner one is convex.
void ringFace(MeshBuilder& mesh, const std::vector<QVector3D>& inner, const std::vector<QVector3D>& outer, bool back)
{
    const QVector3D normal(0, 0, back ? -1.0f : 1.0f);
    auto corner = [&](const QVector3D& p) { return Corner{p, normal, gearUv(p, back)}; };
    auto triangle = [&](const QVector3D& a, const QVector3D& b, const QVector3D& c) {
        if (back)
            mesh.addFace({corner(a), corner(c), corner(b)});
        else
            mesh.addFace({corner(a), corner(b), corner(c)});
    };
    // Both outlines as fractions of a turn from the first inner corner, the
    // outer one restarted at its first corner after that.
    const size_t m = inner.size(), n = outer.size();
    const float from = std::atan2(inner[0].y(), inner[0].x());
    std::vector<QVector3D> ring(outer);
    std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end(), [&](const QVector3D& a, const QVector3D& b) {
                    return turnFrom(a, from) < turnFrom(b, from);
                }), ring.end());
    std::vector<float> innerTurn, outerTurn;
    for (const QVector3D& p : inner)
        innerTurn.push_back(turnFrom(p, from));
    for (const QVector3D& p : ring)
        outerTurn.push_back(turnFrom(p, from));
    innerTurn.push_back(1.0f);
    outerTurn.push_back(1.0f + outerTurn.front());
    size_t i = 0, j = 0;
    while (i < m || j < n) {
        if (j < n && (i == m || outerTurn[j + 1] <= innerTurn[i + 1])) {
            triangle(inner[i % m], ring[j], ring[(j + 1) % n]);
            ++j;
        } else {
            triangle(inner[i], ring[j % n], inner[(i + 1) % m]);
            ++i;
        }
    }
}

std::vector<QVector3D> at(std::vector<QVector3D> ring, float z)
{
    for (QVector3D& p : ring)
        p.setZ(z);
    return ring;
}

// A cylinder wall about the z axis from z0 to z1, facing out or in.
void wall(MeshBuilder& mesh, float radius, float z0, float z1, int segments, bool inward, const UvRect& rect)
{
    for (int j = 0; j < segments; ++j) {
        const float a0 = 2 * float(M_PI) * j / segments, a1 = 2 * float(M_PI) * (j + 1) / segments;
        const float sign = inward ? -1.0f : 1.0f;
        Corner c[4] = {{polar(radius, a0, z0), radial(a0) * sign, rect.map(float(j) / segments, 0)},
                       {polar(radius, a1, z0), radial(a1) * sign, rect.map(float(j + 1) / segments, 0)},
                       {polar(radius, a1, z1), radial(a1) * sign, rect.map(float(j + 1) / segments, 1)},
                       {polar(radius, a0, z1), radial(a0) * sign, rect.map(float(j) / segments, 1)}};
        if (inward)
            mesh.addFace({c[1], c[0], c[3], c[2]});
        else
            mesh.addFace({c[0], c[1], c[2], c[3]});
    }
}

std::vector<QVector3D> circle(float radius, int segments, float z)
{
    std::vector<QVector3D> points;
    for (int j = 0; j < segments; ++j)
        points.push_back(polar(radius, 2 * float(M_PI) * j / segments, z));
    return points;
}

} // namespace

MeshBuilder box()
{
    MeshBuilder mesh("box");
    mesh.addMaterial(textured("crate", "box.jpg"));
    mesh.beginGroup("crate", "crate");
    mesh.addBox({-0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, 0.5f});
    return mesh;
}

MeshBuilder cogwheel()
{
    // Fifty of these are drawn every frame of the cogwheel sequence, the
    // demo's heaviest moment, where a wheel is 80 to 180 pixels wide; the
    // gear keeps to 204 triangles and spends them on what shows at that size.
    // Neighbouring teeth share their root corner (a notch of the same area
    // as a flat-bottomed gap), each face is one ring of triangles, and the
    // hub is an 8-sided boss with a 7-sided bore.
    const int teeth = 12;
    const float tip = 30.0f, root = 23.6f, hub = 12.0f, bore = 7.0f;
    const float slab = 4.0f, hubHeight = 6.0f;
    const int hubSides = 8, boreSides = 7;
    const UvRect sideRect{0.01f, 0.01f, 0.11f, 0.09f}; // plain steel, outside the disc picture
    MeshBuilder mesh("cogwheel_01");
    mesh.addMaterial(textured("steel", "cogwheel_01_dif.jpg", 0.6f, 200.0f));

    // Outline: per tooth two tip corners, then the root corner it shares
    // with the next tooth.
    const float offsets[3] = {-5.3f * kDegree, 5.3f * kDegree, 15.0f * kDegree};
    const float radii[3] = {tip, tip, root};
    std::vector<QVector3D> outline;
    for (int t = 0; t < teeth; ++t) {
        for (int k = 0; k < 3; ++k)
            outline.push_back(polar(radii[k], 2 * float(M_PI) * t / teeth + offsets[k], 0));
    }
    mesh.beginGroup("gear", "steel");
    ringFace(mesh, circle(hub, hubSides, slab), at(outline, slab), false);
    ringFace(mesh, circle(hub, hubSides, -slab), at(outline, -slab), true);
    const size_t n = outline.size();
    for (size_t k = 0; k < n; ++k) {
        const QVector3D a = outline[k], b = outline[(k + 1) % n];
        const float s0 = float(k) / n, s1 = float(k + 1) / n;
        mesh.addFlat({a + QVector3D(0, 0, -slab), b + QVector3D(0, 0, -slab), b + QVector3D(0, 0, slab),
                      a + QVector3D(0, 0, slab)},
                     {sideRect.map(s0, 0), sideRect.map(s1, 0), sideRect.map(s1, 1), sideRect.map(s0, 1)});
    }
    // The hub stands out of either face; its rim is seen where its faces and
    // the gear's overlap, so it needs no wall of its own. The bore runs
    // through it.
    mesh.beginGroup("hub", "steel");
    ringFace(mesh, circle(bore, boreSides, hubHeight), circle(hub, hubSides, hubHeight), false);
    ringFace(mesh, circle(bore, boreSides, -hubHeight), circle(hub, hubSides, -hubHeight), true);
    wall(mesh, bore, -hubHeight, hubHeight, boreSides, true, sideRect);
    return mesh;
}

MeshBuilder cargoContainer()
{
    const float hx = 6.0f, hy = 2.5f, hz = 2.5f;
    const UvRect side{0.0f, 0.5f, 1.0f, 1.0f}, doors{0.0f, 0.0f, 0.5f, 0.5f}, roof{0.5f, 0.0f, 1.0f, 0.5f};
    const UvRect rail{0.0f, 0.97f, 1.0f, 1.0f}; // the painted top rail of the side picture
    MeshBuilder mesh("cargoContainer");
    mesh.addMaterial(textured("painted_steel", "cargoContainer.jpg", 0.3f, 40.0f));
    mesh.beginGroup("shell", "painted_steel");
    auto quad = [&](QVector3D a, QVector3D b, QVector3D c, QVector3D d, const UvRect& r) {
        mesh.addFlat({a, b, c, d}, {r.map(0, 0), r.map(1, 0), r.map(1, 1), r.map(0, 1)});
    };
    quad({-hx, -hy, hz}, {hx, -hy, hz}, {hx, hy, hz}, {-hx, hy, hz}, side);       // long side, +z
    quad({hx, -hy, -hz}, {-hx, -hy, -hz}, {-hx, hy, -hz}, {hx, hy, -hz}, side);   // long side, -z
    quad({hx, -hy, hz}, {hx, -hy, -hz}, {hx, hy, -hz}, {hx, hy, hz}, doors);      // door end, +x
    quad({-hx, -hy, -hz}, {-hx, -hy, hz}, {-hx, hy, hz}, {-hx, hy, -hz}, doors);  // front end, -x
    quad({-hx, hy, hz}, {hx, hy, hz}, {hx, hy, -hz}, {-hx, hy, -hz}, roof);       // roof
    quad({-hx, -hy, -hz}, {hx, -hy, -hz}, {hx, -hy, hz}, {-hx, -hy, hz}, roof);   // floor
    // Vertical ribs of the corrugated long sides.
    mesh.beginGroup("ribs", "painted_steel");
    const int ribs = 11;
    for (int i = 0; i < ribs; ++i) {
        const float x = -hx + 0.8f + (2 * hx - 1.6f) * i / (ribs - 1);
        const UvRect strip{(x + hx) / (2 * hx) - 0.01f, 0.52f, (x + hx) / (2 * hx) + 0.01f, 0.98f};
        mesh.addBox({x - 0.12f, -hy + 0.2f, hz}, {x + 0.12f, hy - 0.2f, hz + 0.1f}, strip);
        mesh.addBox({x - 0.12f, -hy + 0.2f, -hz - 0.1f}, {x + 0.12f, hy - 0.2f, -hz}, strip);
    }
    // Corner posts and the top and bottom rails of the frame.
    mesh.beginGroup("frame", "painted_steel");
    for (float sx : {-1.0f, 1.0f}) {
        for (float sz : {-1.0f, 1.0f}) {
            const QVector3D corner(sx * hx, 0, sz * hz);
            mesh.addBox(corner + QVector3D(-0.2f, -hy - 0.05f, -0.2f), corner + QVector3D(0.2f, hy + 0.05f, 0.2f), rail);
        }
        for (float sy : {-1.0f, 1.0f}) {
            const float y = sy * hy;
            mesh.addBox({-hx, y - 0.15f, sx * hz - 0.15f}, {hx, y + 0.15f, sx * hz + 0.15f}, rail);
        }
    }
    return mesh;
}

MeshBuilder can()
{
    const UvRect base{0.25f, 0.75f, 0.5f, 1.0f}, lid{0.0f, 0.75f, 0.25f, 1.0f};
    auto body = [](float v0, float v1) { return UvRect{0.0f, v0, 1.0f, v1}; };
    MeshBuilder mesh("can");
    mesh.addMaterial(textured("aluminium", "can_02.jpg", 0.8f, 300.0f));
    mesh.beginGroup("can", "aluminium");
    // 400 units high: at the fixed scale 0.005 it stands 2 units tall right
    // in front of the scenery without hiding the spider behind it.
    mesh.addLathe({{0, 12, base, true},
                   {92, 0, body(0.0f, 0.03f)},
                   {114, 16, body(0.03f, 0.06f)},
                   {116, 24, body(0.06f, 0.68f)},
                   {116, 352, body(0.68f, 0.74f)},
                   {91, 390, body(0.74f, 0.75f)},
                   {94, 400, lid, true},
                   {0, 395, lid}},
                  24);
    return mesh;
}

MeshBuilder beerBarrel()
{
    MeshBuilder mesh("beerBarrel");
    mesh.addMaterial(plain("oak", QColor(160, 104, 56), 0.1f, 20.0f));
    mesh.addMaterial(plain("iron", QColor(90, 92, 100), 0.6f, 200.0f));
    // The staves bulge: radius 3.4 at the heads, 4.0 at the middle.
    auto staveRadius = [](float y) { return 3.4f + 0.6f * std::sin(float(M_PI) * y / 10.0f); };
    const float hoops[4] = {0.9f, 2.7f, 7.3f, 9.1f};
    mesh.beginGroup("staves", "oak");
    // Bottom head, ten bands of staves (each a tenth of the picture), top head.
    std::vector<LathePoint> staves = {{0, 0.3f, UvRect{}, true}};
    for (int i = 0; i <= 10; ++i)
        staves.push_back({staveRadius(float(i)), float(i), UvRect{0, i / 10.0f, 1, (i + 1) / 10.0f}});
    staves.back().rect = UvRect{};
    staves.back().planar = true;
    staves.push_back({0, 9.7f});
    mesh.addLathe(staves, 20);
    mesh.beginGroup("hoops", "iron");
    for (float y : hoops) {
        const float r = staveRadius(y) + 0.08f;
        mesh.addLathe({{r - 0.1f, y - 0.25f}, {r, y - 0.2f}, {r, y + 0.2f}, {r - 0.1f, y + 0.25f}}, 20);
    }
    return mesh;
}

MeshBuilder trafficCone()
{
    const UvRect wrap{0.0f, 0.25f, 1.0f, 1.0f}, rubber{0.0f, 0.0f, 1.0f, 0.25f};
    MeshBuilder mesh("traffic_cone_01");
    mesh.addMaterial(textured("plastic", "traffic_cone_01.jpg", 0.3f, 80.0f));
    mesh.beginGroup("base", "plastic");
    mesh.addBox({-35, 0, -35}, {35, 5, 35}, rubber);
    mesh.beginGroup("cone", "plastic");
    mesh.addLathe({{30, 5, rubber},
                   {27, 9, UvRect{0.0f, 0.25f, 1.0f, 0.27f}},
                   {24, 12, wrap},
                   {4.5f, 98, UvRect{0.0f, 0.99f, 1.0f, 1.0f}},
                   {3.5f, 100, rubber, true},
                   {0, 100}},
                  24);
    return mesh;
}

MeshBuilder stairs()
{
    const int steps = 10;
    const float half = 15.0f, rise = 3.0f, run = 3.0f;
    const UvRect concrete{0.0f, 0.0f, 1.0f, 0.85f}, nosing{0.0f, 0.9f, 1.0f, 1.0f};
    MeshBuilder mesh("stairs");
    mesh.addMaterial(textured("concrete", "stairs.jpg", 0.1f, 10.0f));
    mesh.addMaterial(textured("rail", "stairs.jpg", 0.7f, 250.0f));
    mesh.beginGroup("flight", "concrete");
    auto side = [&](const QVector3D& p) { return concrete.map((p.z() + half) / 30.0f, p.y() / 30.0f); };
    for (int i = 0; i < steps; ++i) {
        const float z0 = -half + run * i, z1 = z0 + run, y0 = rise * i, y1 = y0 + rise;
        // Tread: texture t runs from the back (0) to the nosing at the front (1).
        mesh.addFlat({{-half, y1, z0}, {-half, y1, z1}, {half, y1, z1}, {half, y1, z0}},
                     {{0, 1}, {0, 0}, {1, 0}, {1, 1}});
        mesh.addFlat({{half, y0, z0}, {-half, y0, z0}, {-half, y1, z0}, {half, y1, z0}}, // riser
                     {concrete.map(0, 0), concrete.map(1, 0), concrete.map(1, 0.1f), concrete.map(0, 0.1f)});
        for (float x : {-half, half}) {
            std::vector<QVector3D> p = {{x, 0, z0}, {x, 0, z1}, {x, y1, z1}, {x, y1, z0}};
            if (x > 0)
                p = {{x, 0, z1}, {x, 0, z0}, {x, y1, z0}, {x, y1, z1}};
            std::vector<QVector2D> uv;
            for (const QVector3D& q : p)
                uv.push_back(side(q));
            mesh.addFlat(p, uv);
        }
    }
    const float top = rise * steps;
    mesh.addFlat({{-half, 0, half}, {half, 0, half}, {half, top, half}, {-half, top, half}},
                 {concrete.map(0, 0), concrete.map(1, 0), concrete.map(1, 1), concrete.map(0, 1)}); // back
    mesh.addFlat({{-half, 0, -half}, {half, 0, -half}, {half, 0, half}, {-half, 0, half}},
                 {concrete.map(0, 0), concrete.map(1, 0), concrete.map(1, 1), concrete.map(0, 1)}); // bottom
    // Handrails on both sides: posts on every third step and a sloping rail.
    mesh.beginGroup("handrails", "rail");
    for (float x : {-half + 1.0f, half - 1.0f}) {
        for (int i : {0, 3, 6, 9}) {
            const float y = rise * (i + 1), z = -half + run * i + run / 2;
            mesh.addTube({x, y, z}, {x, y + 9, z}, 0.35f, 0.35f, 8, nosing);
        }
        mesh.addTube({x, rise + 9, -half + run / 2}, {x, top + 9, -half + run * 9 + run / 2}, 0.5f, 0.5f, 8, nosing);
    }
    return mesh;
}

MeshBuilder spider()
{
    const UvRect body{0.0f, 0.5f, 1.0f, 1.0f}, legs{0.0f, 0.0f, 1.0f, 0.5f};
    MeshBuilder mesh("spider");
    mesh.addMaterial(textured("chitin", "spider.jpg", 0.5f, 120.0f));
    mesh.addMaterial(textured("eyes", "spider.jpg", 1.0f, 900.0f));
    mesh.beginGroup("body", "chitin");
    mesh.addEllipsoid({0, 9, -6}, {8, 5.5f, 9}, 16, 10, body); // cephalothorax
    QMatrix4x4 tilt;
    tilt.translate(0, 12, 13);
    tilt.rotate(-15, 1, 0, 0);
    mesh.setTransform(tilt);
    mesh.addEllipsoid({0, 0, 0}, {11, 9, 14}, 16, 10, body); // abdomen
    mesh.resetTransform();
    for (float s : {-1.0f, 1.0f}) // fangs
        mesh.addTube({s * 2.2f, 7.5f, -14}, {s * 1.4f, 2.5f, -16.5f}, 1.0f, 0.2f, 6, legs);
    mesh.beginGroup("eyes", "eyes");
    for (float s : {-1.0f, 1.0f}) {
        mesh.addEllipsoid({s * 2.4f, 11.5f, -14.2f}, {1.4f, 1.4f, 1.4f}, 8, 6, UvRect{0.49f, 0.52f, 0.51f, 0.54f});
        mesh.addEllipsoid({s * 4.6f, 12.5f, -12.6f}, {0.9f, 0.9f, 0.9f}, 8, 6, UvRect{0.49f, 0.52f, 0.51f, 0.54f});
    }
    // Four legs a side, each hip - knee - ankle - foot, fanning from front to back.
    mesh.beginGroup("legs", "chitin");
    const float fan[4] = {-55.0f, -20.0f, 15.0f, 50.0f};
    for (float s : {-1.0f, 1.0f}) {
        for (int i = 0; i < 4; ++i) {
            const float angle = fan[i] * kDegree;
            const QVector3D out(s * qCos(angle), 0, qSin(angle));
            const QVector3D hip(s * 6.0f, 8.5f, -10.5f + i * 3.0f);
            const QVector3D knee = hip + out * 9.5f + QVector3D(0, 9.5f, 0);
            const QVector3D ankle = knee + out * 10.0f + QVector3D(0, -12.0f, 0);
            const QVector3D foot = ankle + out * 6.0f + QVector3D(0, -ankle.y(), 0);
            mesh.addTube(hip, knee, 1.3f, 1.0f, 6, legs);
            mesh.addTube(knee, ankle, 1.0f, 0.7f, 6, legs);
            mesh.addTube(ankle, foot, 0.7f, 0.25f, 6, legs);
        }
    }
    return mesh;
}

MeshBuilder sentryGun()
{
    MeshBuilder mesh("SentryGun");
    mesh.addMaterial(textured("armour", "sentrygun_01.jpg", 0.4f, 90.0f));
    mesh.addMaterial(textured("gunmetal", "sentrygun_01.jpg", 0.8f, 300.0f));
    const UvRect stripes{0.0f, 0.46f, 1.0f, 0.54f}, plate{0.0f, 0.75f, 0.25f, 1.0f};
    mesh.beginGroup("tripod", "gunmetal");
    const QVector3D hub(0, 40, 0);
    for (int i = 0; i < 3; ++i) {
        const float angle = (90.0f + 120.0f * i) * kDegree;
        const QVector3D foot(42 * qCos(angle), 0, 42 * qSin(angle));
        mesh.addTube(hub, foot + QVector3D(0, 2, 0), 2.4f, 1.6f, 8, plate);
        mesh.addBox(foot + QVector3D(-4, 0, -4), foot + QVector3D(4, 2, 4), plate);
    }
    mesh.addTube({0, 30, 0}, {0, 60, 0}, 4.5f, 4.0f, 12, stripes);
    // The turret, turned 35 degrees so that the barrels show in profile.
    QMatrix4x4 turret;
    turret.rotate(35, 0, 1, 0);
    mesh.setTransform(turret);
    mesh.beginGroup("turret", "armour");
    mesh.addBox({-16, 58, -20}, {16, 84, 22});                 // body
    mesh.addBox({-8, 84, -10}, {8, 92, 8}, plate);              // sensor housing
    mesh.addBox({16, 60, -10}, {26, 76, 12}, stripes);          // ammunition box
    mesh.addEllipsoid({0, 78, -20.5f}, {5, 5, 3}, 10, 6, plate); // sensor eye
    mesh.beginGroup("barrels", "gunmetal");
    for (float x : {-8.0f, 8.0f}) {
        mesh.addTube({x, 68, -20}, {x, 68, -60}, 2.8f, 2.2f, 10, plate);
        mesh.addTube({x, 68, -57}, {x, 68, -65}, 3.4f, 3.4f, 10, plate); // muzzle brake
    }
    mesh.addTube({10, 92, 6}, {11, 108, 8}, 0.6f, 0.3f, 6, plate);        // antenna
    mesh.resetTransform();
    return mesh;
}

MeshBuilder shovel()
{
    MeshBuilder mesh("shovel");
    mesh.addMaterial(plain("ash", QColor(196, 160, 110), 0.1f, 20.0f));
    mesh.addMaterial(plain("blade", QColor(120, 128, 140), 0.7f, 250.0f));
    mesh.addMaterial(plain("grip", QColor(40, 40, 44), 0.2f, 30.0f));
    mesh.beginGroup("handle", "ash");
    mesh.addTube({0, 3.1f, 0}, {0, 9.0f, 0}, 0.22f, 0.2f, 10);
    mesh.beginGroup("grip", "grip");
    for (float s : {-1.0f, 1.0f})
        mesh.addTube({0, 8.9f, 0}, {s * 0.6f, 9.7f, 0}, 0.14f, 0.14f, 8);
    mesh.addTube({-0.7f, 9.7f, 0}, {0.7f, 9.7f, 0}, 0.18f, 0.18f, 8);
    mesh.beginGroup("blade", "blade");
    mesh.addTube({0, 2.3f, 0.12f}, {0, 3.3f, 0.05f}, 0.32f, 0.24f, 10); // socket
    // The blade: a dished plate, pointed at the bottom, as a 6 x 6 grid with
    // a front and a back surface.
    const int cols = 6, rows = 6;
    auto point = [&](int c, int r, float offset) {
        const float y = 2.6f * r / rows;
        const float halfWidth = 1.1f * qMin(1.0f, 0.3f + y / 1.2f);
        const float x = halfWidth * (2.0f * c / cols - 1.0f);
        return QVector3D(x, y, 0.35f * (x / 1.1f) * (x / 1.1f) + offset);
    };
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QVector2D uv[4] = {{float(c) / cols, float(r) / rows}, {float(c + 1) / cols, float(r) / rows},
                                     {float(c + 1) / cols, float(r + 1) / rows}, {float(c) / cols, float(r + 1) / rows}};
            mesh.addFlat({point(c, r, 0.03f), point(c + 1, r, 0.03f), point(c + 1, r + 1, 0.03f), point(c, r + 1, 0.03f)},
                         {uv[0], uv[1], uv[2], uv[3]});
            mesh.addFlat({point(c + 1, r, -0.03f), point(c, r, -0.03f), point(c, r + 1, -0.03f), point(c + 1, r + 1, -0.03f)},
                         {uv[1], uv[0], uv[3], uv[2]});
        }
    }
    return mesh;
}

MeshBuilder hammer()
{
    MeshBuilder mesh("hammer");
    mesh.addMaterial(plain("hickory", QColor(190, 140, 80), 0.1f, 20.0f));
    mesh.addMaterial(plain("steel", QColor(150, 156, 166), 0.8f, 300.0f));
    mesh.addMaterial(plain("rubber", QColor(200, 40, 30), 0.2f, 30.0f));
    mesh.beginGroup("handle", "hickory");
    mesh.addTube({0, 0, 0}, {0, 9.0f, 0}, 0.32f, 0.27f, 10);
    mesh.beginGroup("grip", "rubber");
    mesh.addTube({0, -0.1f, 0}, {0, 3.2f, 0}, 0.4f, 0.36f, 10);
    mesh.beginGroup("head", "steel");
    mesh.addBox({-1.4f, 8.5f, -0.45f}, {1.3f, 9.8f, 0.45f});
    mesh.addTube({1.3f, 9.15f, 0}, {2.3f, 9.15f, 0}, 0.55f, 0.6f, 12); // striking face
    for (float s : {-1.0f, 1.0f}) {                                       // the split claw
        mesh.addTube({-1.4f, 9.4f, s * 0.22f}, {-2.5f, 9.1f, s * 0.26f}, 0.3f, 0.2f, 6);
        mesh.addTube({-2.5f, 9.1f, s * 0.26f}, {-3.1f, 8.4f, s * 0.28f}, 0.2f, 0.05f, 6);
    }
    return mesh;
}

MeshBuilder tree()
{
    MeshBuilder mesh("tree");
    mesh.addMaterial(plain("bark", QColor(110, 76, 48), 0.05f, 10.0f));
    mesh.addMaterial(plain("needles", QColor(60, 150, 70), 0.1f, 20.0f));
    mesh.beginGroup("trunk", "bark");
    mesh.addLathe({{0, 0, UvRect{}, true}, {0.6f, 0}, {0.4f, 3.2f, UvRect{}, true}, {0, 3.2f}}, 10);
    mesh.beginGroup("crown", "needles");
    const float tiers[3][3] = {{3.2f, 2.0f, 6.0f}, {2.5f, 4.2f, 8.2f}, {1.7f, 6.3f, 10.0f}};
    for (const auto& tier : tiers) {
        // A drooping skirt, then the slope up to the tip.
        mesh.addLathe({{0, tier[1] + 0.4f, UvRect{}, true}, {tier[0], tier[1]},
                       {tier[0] * 0.85f, tier[1] + 0.3f}, {0, tier[2]}}, 14);
    }
    return mesh;
}

std::vector<MeshBuilder> all()
{
    return {box(), cogwheel(), cargoContainer(), can(), beerBarrel(), trafficCone(),
            stairs(), spider(), sentryGun(), shovel(), hammer(), tree()};
}

} // namespace props

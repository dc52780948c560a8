#include "shell/frame.h"

#include "platform/d3dx9.h"
#include "shell/device.h"
#include "shell/globals.h"
#include "shell/grid_drawing.h"

namespace {

constexpr D3DCOLOR opaqueBlue = 0xFF0000FF;

// Set after everything else in a frame, so it governs the frame after.
void setProjection() {
    D3DXMATRIXA16 matProj;
    D3DXMatrixPerspectiveFovLH(&matProj, 0.7853982f, 1.0f, 1.0f, 100.0f);
    device->SetTransform(D3DTS_PROJECTION, &matProj);
}

void resetWorld(D3DXMATRIX* matWorld) {
    D3DXMatrixIdentity(matWorld);
    device->SetTransform(D3DTS_WORLD, matWorld);
}

}  // namespace

void DisableLighting() { device->SetRenderState(D3DRS_LIGHTING, FALSE); }

void SetViewAndProjection() {
    D3DXMATRIXA16 matWorld;
    resetWorld(&matWorld);
    const D3DXVECTOR3 vEyePt(0.0f, 3.0f, -5.0f);
    const D3DXVECTOR3 vLookatPt(0.0f, 0.0f, 0.0f);
    const D3DXVECTOR3 vUpVec(0.0f, 1.0f, 0.0f);
    D3DXMATRIXA16 matView;
    D3DXMatrixLookAtLH(&matView, &vEyePt, &vLookatPt, &vUpVec);
    device->SetTransform(D3DTS_VIEW, &matView);
    setProjection();
}

void DrawFrame() {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, opaqueBlue, 1.0f, 0);
    if (SUCCEEDED(device->BeginScene())) {
        DisableLighting();
        D3DXMATRIXA16 matWorld;
        resetWorld(&matWorld);

        // The camera follows the ball from above and behind; the camera angles play no part.
        const Entite::Vector& at = ball.position;
        const D3DXVECTOR3 vEyePt(at.x, static_cast<float>(at.y + 2.0), static_cast<float>(at.z - 10.0));
        const D3DXVECTOR3 vLookatPt(at.x, at.y, at.z);
        const D3DXVECTOR3 vUpVec(0.0f, 1.0f, 0.0f);
        D3DXMATRIXA16 matView;
        D3DXMatrixLookAtLH(&matView, &vEyePt, &vLookatPt, &vUpVec);
        device->SetTransform(D3DTS_VIEW, &matView);

        D3DXMatrixIdentity(&matWorld);
        drawMap(&gameMap, &matWorld);

        D3DMATERIAL9 mtrl{};
        mtrl.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 0.0f, 1.0f};
        mtrl.Ambient = mtrl.Diffuse;
        device->SetMaterial(&mtrl);

        D3DXMATRIXA16 ballTranslation;
        D3DXMatrixIdentity(&matWorld);
        D3DXMatrixTranslation(&ballTranslation, at.x, at.y, at.z);
        D3DXMatrixMultiply(&matWorld, &matWorld, &ballTranslation);
        device->SetTransform(D3DTS_WORLD, &matWorld);
        device->SetTexture(0, goalTexture);
        // Every subset in the goal texture; the mesh's own materials are never applied.
        for (DWORD i = 0; i < materialCount; ++i) {
            ballMesh->DrawSubset(i);
        }

        resetWorld(&matWorld);
        setProjection();
        device->EndScene();
    }
    device->Present(nullptr, nullptr, nullptr, nullptr);
}

// The 2D renderer's module functions. Each reads or stores the state of the
// current record (TLumo2DGraphics::Current()) and forwards to the current
// renderer driver; with no graphics open they raise TNullObjectException.
// Every setter stores its value before sending it, so that Validate can send
// the whole state again.
#pragma once

#include <vector>

#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

void Cls();
void SetClsColor(int red, int green, int blue);
void GetClsColor(int& red, int& green, int& blue);
void SetColor(int red, int green, int blue);
void GetColor(int& red, int& green, int& blue);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int mode);
int GetBlend();
void SetLineWidth(float width);
float GetLineWidth();
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
// Stored negated: the handle point of a shape lands on its drawing position.
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
void SetRotation(float angle);
float GetRotation();
void SetScale(float scale_x, float scale_y);
void GetScale(float& scale_x, float& scale_y);
void SetTransform(float angle = 0, float scale_x = 1, float scale_y = 1);
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
void SetVirtualResolution(float width, float height);
float VirtualResolutionWidth();
float VirtualResolutionHeight();
// The mouse in virtual units (pixels times the virtual scale).
float VirtualMouseX();
float VirtualMouseY();
float VirtualMouseXSpeed();
float VirtualMouseYSpeed();
// Moves the mouse to a point given in virtual units (truncated to pixels).
void MoveVirtualMouse(float x, float y);

void Plot(float x, float y);
void DrawRect(float x, float y, float width, float height);
void DrawLine(float x, float y, float x2, float y2, int lastPixel = 1);
void DrawOval(float x, float y, float width, float height);
void DrawPoly(const std::vector<float>& xy);
void DrawPixmap(const TPixmapPtr& pixmap, int x, int y);
TPixmapPtr GrabPixmap(int x, int y, int width, int height);
// Lets the renderer start on what was drawn so far while the frame's
// drawing goes on (a software renderer then fills pixels on its own threads
// while the program sends the rest); changes nothing in the picture.
void SubmitDrawing();

// The OpenGL renderer driver's start-up: makes it the current graphics
// driver when OpenGL graphics exist, and prepares the image fonts.
void InitLumo2D();

}  // namespace kestrel

// A GDI+ path with integer coordinates.
#pragma once

#include "render/GdiPlusFlat.h"
#include "render/RenderInterfaces.h"

namespace ui {

class Path_GdiPlus : public IPath {
 public:
  Path_GdiPlus();
  ~Path_GdiPlus() override;
  Path_GdiPlus(const Path_GdiPlus&) = delete;
  Path_GdiPlus& operator=(const Path_GdiPlus&) = delete;

  IPath* Clone() override;
  void Reset() override;
  void SetFillMode(int mode) override;
  int GetFillMode() override;
  void StartFigure() override;
  void CloseFigure() override;
  void AddLine(int x1, int y1, int x2, int y2) override;
  void AddLines(const POINT* points, int count) override;
  void AddBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void AddCurve(const POINT* points, int count) override;
  void AddRect(int left, int top, int right, int bottom) override;
  void AddRect(const RECT& rect) override;
  void AddEllipse(int left, int top, int right, int bottom) override;
  void AddEllipse(const RECT& rect) override;
  void AddArc(int x, int y, int width, int height, float start_angle, float sweep_angle) override;
  void AddPie(int x, int y, int width, int height, float start_angle, float sweep_angle) override;
  void AddPolygon(const POINT* points, int count) override;
  RECT GetBounds(const IPen* pen) override;
  bool IsContainsPoint(int x, int y) override;
  bool IsStrokeContainsPoint(int x, int y, const IPen* pen) override;
  void Transform(const IMatrix* matrix) override;

  GpPath* GetPath() const { return path_; }
  // The GDI+ path behind `path`; null for no path or one of another implementation.
  static GpPath* HandleOf(const IPath* path);
  Status GetLastStatus() const { return last_status_; }

 private:
  explicit Path_GdiPlus(GpPath* path) : path_(path) {}
  void Check(Status status);

  GpPath* path_ = nullptr;
  Status last_status_ = Ok;
};

}  // namespace ui

// The dialog font and the mapping of dialog units to pixels.
#pragma once

#include <QFont>
#include <QRect>

// The font of both dialogs: a Song-style CJK face at 9 pt where one is installed, else any face
// that covers Simplified Chinese, else the application font at 9 pt. Faces are chosen by name
// because fontconfig maps none of the Windows names ("SimSun", "宋体") to an installed face.
QFont DialogFont();

// Dialog units of a font, as the Windows dialog manager measures them: the base width is the
// rounded average advance of the 52 Latin letters, the base height the font's height. One
// horizontal unit is a quarter of the base width, one vertical unit an eighth of the base height.
class CDialogUnits {
 public:
  explicit CDialogUnits(const QFont& font);
  int BaseWidth() const { return m_nBaseX; }
  int BaseHeight() const { return m_nBaseY; }
  int X(int x) const;
  int Y(int y) const;
  // The rectangle (x, y, w, h) in dialog units, each edge mapped on its own.
  QRect Rect(int x, int y, int w, int h) const;

 private:
  int m_nBaseX;
  int m_nBaseY;
};

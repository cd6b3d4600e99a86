// A command's image on the one-command clipboard. It names the attributes the command
// uses and is told when one of them goes away.
#pragma once

class TExpAttribute;

class TBlockCopyScript {
public:
  virtual ~TBlockCopyScript() = default;
  // The attribute is being destroyed: forget it and clear its copy link.
  virtual void RemoveAttribute(TExpAttribute* attribute) = 0;
};

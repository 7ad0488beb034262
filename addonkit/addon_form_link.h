// What an add-on knows of its forms, whatever windows they are made of: a
// form joins the current add-on when it is made and leaves it when it is
// destroyed, and the add-on destroys the forms still open at Disconnect.
#pragma once

namespace kx {

class TKxCustomAddon;

class TKxAddonFormLink {
 public:
  virtual ~TKxAddonFormLink();
  TKxAddonFormLink(const TKxAddonFormLink&) = delete;
  TKxAddonFormLink& operator=(const TKxAddonFormLink&) = delete;

  TKxCustomAddon* Addon() const { return FAddon; }
  // Called by the add-on when it goes first.
  void DetachAddon() { FAddon = nullptr; }

 protected:
  // Joins the module's current add-on, if there is one.
  TKxAddonFormLink();

 private:
  TKxCustomAddon* FAddon;
};

}  // namespace kx

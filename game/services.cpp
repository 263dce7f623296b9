#include "services.h"

GameServices& Services() {
  static GameServices services;
  return services;
}

# Source it: velmo_screenshot FILE saves the whole X display as PNG.
velmo_screenshot() {
  xwd -root -silent | convert xwd:- png:"$1"
}

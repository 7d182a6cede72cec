#ifndef TEXTURE_H
#define TEXTURE_H

class QImage;

// A decoded image and the id of the renderer's texture object made from it.
class Texture
{
public:
    enum Status { ImageOnly = 0, Converted = 1, Uploaded = 2 };

    explicit Texture(QImage* image);  // takes the image
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // A null image is ignored; the replaced image is deleted.
    void SetImage(QImage* image);
    QImage* GetImage() const { return m_image; }

    // Converts the image in place to the GL upload layout (RGBA, bottom row first).
    void convertToGl();
    void SetGlId(unsigned int id);
    unsigned int GetGlId() const { return m_glId; }
    int GetStatus() const { return m_status; }

private:
    QImage* m_image;
    unsigned int m_glId;
    int m_status;
};

#endif
